#include "platform/BoldOutlines.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace platform {
namespace {

quint16 U16(const QByteArray& d, qsizetype at) {
    if (at < 0 || at + 2 > d.size())
        return 0;
    return quint16((uchar(d[at]) << 8) | uchar(d[at + 1]));
}
quint32 U32(const QByteArray& d, qsizetype at) {
    return (quint32(U16(d, at)) << 16) | U16(d, at + 2);
}
void Put16(QByteArray& d, int v) {
    d.append(char((v >> 8) & 0xFF));
    d.append(char(v & 0xFF));
}
void Put32(QByteArray& d, quint32 v) {
    Put16(d, int(v >> 16));
    Put16(d, int(v & 0xFFFF));
}
void Set16(QByteArray& d, qsizetype at, int v) {
    d[at] = char((v >> 8) & 0xFF);
    d[at + 1] = char(v & 0xFF);
}
void Set32(QByteArray& d, qsizetype at, quint32 v) {
    Set16(d, at, int(v >> 16));
    Set16(d, at + 2, int(v & 0xFFFF));
}

quint32 CheckSum(const QByteArray& d) {
    quint32 sum = 0;
    for (qsizetype i = 0; i < d.size(); i += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < d.size() ? uchar(d[i + k]) : 0);
        sum += word;
    }
    return sum;
}

// Tables keyed by tag; std::map keeps them in the byte order the directory needs.
using Tables = std::map<QByteArray, QByteArray>;

bool ReadTables(const QByteArray& font, Tables& tables) {
    const quint32 version = U32(font, 0);
    if (version != 0x00010000 && version != 0x74727565)
        return false;
    const int count = U16(font, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 12 + 16 * qsizetype(i);
        const quint32 offset = U32(font, record + 8), length = U32(font, record + 12);
        if (record + 16 > font.size() || qint64(offset) + length > font.size())
            return false;
        tables[font.mid(record, 4)] = font.mid(offset, length);
    }
    return true;
}

QByteArray WriteFont(const Tables& tables) {
    const int count = int(tables.size());
    int power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    QByteArray out;
    Put32(out, 0x00010000);
    Put16(out, count);
    Put16(out, power * 16);
    Put16(out, log2);
    Put16(out, count * 16 - power * 16);
    quint32 offset = 12 + 16 * quint32(count);
    qsizetype headAt = -1;
    for (const auto& [tag, data] : tables) {
        out.append(tag);
        Put32(out, CheckSum(data));
        Put32(out, offset);
        Put32(out, quint32(data.size()));
        if (tag == "head")
            headAt = offset;
        offset += (quint32(data.size()) + 3) & ~3u;
    }
    for (const auto& [tag, data] : tables) {
        out.append(data);
        out.append((4 - data.size() % 4) % 4, '\0');
    }
    if (headAt >= 0)
        Set32(out, headAt + 8, 0xB1B0AFBAu - CheckSum(out));
    return out;
}

// One simple glyph in the glyf format: header, contour ends, no instructions, then flags
// and coordinate deltas, each in its shortest form.
QByteArray EncodeGlyph(const FT_Outline& outline, FT_BBox box) {
    QByteArray out;
    Put16(out, outline.n_contours);
    Put16(out, int(box.xMin));
    Put16(out, int(box.yMin));
    Put16(out, int(box.xMax));
    Put16(out, int(box.yMax));
    for (int c = 0; c < outline.n_contours; ++c)
        Put16(out, outline.contours[c]);
    Put16(out, 0);
    QByteArray flags, xs, ys;
    FT_Pos lastX = 0, lastY = 0;
    const auto delta = [](FT_Pos d, int shortBit, int sameBit, QByteArray& bytes) {
        if (d == 0)
            return sameBit;
        if (d > -256 && d < 256) {
            bytes.append(char(std::abs(d)));
            return shortBit | (d > 0 ? sameBit : 0);
        }
        Put16(bytes, int(d));
        return 0;
    };
    for (int i = 0; i < outline.n_points; ++i) {
        int flag = FT_CURVE_TAG(outline.tags[i]) == FT_CURVE_TAG_ON ? 0x01 : 0;
        flag |= delta(outline.points[i].x - lastX, 0x02, 0x10, xs);
        flag |= delta(outline.points[i].y - lastY, 0x04, 0x20, ys);
        lastX = outline.points[i].x;
        lastY = outline.points[i].y;
        flags.append(char(flag));
    }
    out += flags + xs + ys;
    out.append((4 - out.size() % 4) % 4, '\0');
    return out;
}

FT_BBox PointBox(const FT_Outline& outline) {
    FT_BBox box{0, 0, 0, 0};
    for (int i = 0; i < outline.n_points; ++i) {
        const FT_Vector& p = outline.points[i];
        if (i == 0 || p.x < box.xMin)
            box.xMin = p.x;
        if (i == 0 || p.x > box.xMax)
            box.xMax = p.x;
        if (i == 0 || p.y < box.yMin)
            box.yMin = p.y;
        if (i == 0 || p.y > box.yMax)
            box.yMax = p.y;
    }
    return box;
}

// Twice the signed area of a contour's control polygon: positive counter-clockwise.
double Area(const FT_Outline& o, int first, int last) {
    double a = 0;
    for (int i = first; i <= last; ++i) {
        const FT_Vector& p = o.points[i];
        const FT_Vector& q = o.points[i == last ? first : i + 1];
        a += double(p.x) * double(q.y) - double(q.x) * double(p.y);
    }
    return a;
}

bool Inside(const FT_Outline& o, int first, int last, double x, double y) {
    bool in = false;
    for (int i = first; i <= last; ++i) {
        const FT_Vector& p = o.points[i];
        const FT_Vector& q = o.points[i == last ? first : i + 1];
        if ((p.y > y) != (q.y > y) &&
            x < double(q.x - p.x) * (y - double(p.y)) / double(q.y - p.y) + double(p.x))
            in = !in;
    }
    return in;
}

// Emboldening widens every contour that turns like the glyph as a whole and narrows the
// others, which are taken for holes. A few glyphs have a separate piece (the breve of "й",
// the stem of "Ы") turning the other way, which fills just the same but would thin out: such
// a piece, inside no other contour, is turned round.
void OrientSeparatePieces(FT_Outline& o) {
    std::vector<std::pair<int, int>> contours;
    for (int c = 0, first = 0; c < o.n_contours; first = o.contours[c++] + 1)
        contours.emplace_back(first, o.contours[c]);
    double largest = 0;
    for (const auto& [first, last] : contours)
        if (std::abs(Area(o, first, last)) > std::abs(largest))
            largest = Area(o, first, last);
    for (size_t c = 0; c < contours.size(); ++c) {
        const auto [first, last] = contours[c];
        const double area = Area(o, first, last);
        if (area == 0 || (area > 0) == (largest > 0))
            continue;
        // A quarter unit off the point so that the test never runs through a vertex.
        const double x = double(o.points[first].x) + 0.25, y = double(o.points[first].y) + 0.25;
        bool contained = false;
        for (size_t other = 0; other < contours.size() && !contained; ++other)
            contained = other != c && Inside(o, contours[other].first, contours[other].second, x, y);
        if (!contained) {
            std::reverse(o.points + first, o.points + last + 1);
            std::reverse(o.tags + first, o.tags + last + 1);
        }
    }
}

// FreeType's library and faces, released with their owners.
struct FreeType {
    FT_Library Library = nullptr;
    std::vector<FT_Face> Faces;
    FreeType() {
        if (FT_Init_FreeType(&Library))
            Library = nullptr;
    }
    ~FreeType() {
        for (FT_Face face : Faces)
            FT_Done_Face(face);
        if (Library)
            FT_Done_FreeType(Library);
    }
    FT_Face Open(const QByteArray& data) {
        FT_Face face = nullptr;
        if (!Library || FT_New_Memory_Face(Library, reinterpret_cast<const FT_Byte*>(data.constData()),
                                           FT_Long(data.size()), 0, &face))
            return nullptr;
        Faces.push_back(face);
        return face;
    }
};

} // namespace

QByteArray EmboldenedFont(const QByteArray& bold, const QByteArray& regular, double xStrength,
                          double yStrength) {
    Tables tables;
    if (!ReadTables(bold, tables))
        return {};
    QByteArray& head = tables["head"];
    QByteArray& maxp = tables["maxp"];
    QByteArray& hhea = tables["hhea"];
    QByteArray& hmtx = tables["hmtx"];
    if (head.size() < 54 || maxp.size() < 10 || hhea.size() < 36 || !tables.count("glyf"))
        return {};

    FreeType freeType;
    FT_Face boldFace = freeType.Open(bold), regularFace = freeType.Open(regular);
    if (!boldFace || !regularFace || boldFace->units_per_EM != regularFace->units_per_EM ||
        !FT_IS_SFNT(boldFace) || !FT_IS_SCALABLE(regularFace))
        return {};
    const int glyphs = int(boldFace->num_glyphs);
    // The character each bold glyph stands for (the first one that maps to it).
    std::vector<FT_ULong> character(size_t(glyphs), 0);
    FT_UInt index = 0;
    for (FT_ULong c = FT_Get_First_Char(boldFace, &index); index != 0;
         c = FT_Get_Next_Char(boldFace, c, &index))
        if (index < FT_UInt(glyphs) && character[index] == 0)
            character[index] = c;

    const FT_Pos xs = FT_Pos(std::lround(xStrength * boldFace->units_per_EM));
    const FT_Pos ys = FT_Pos(std::lround(yStrength * boldFace->units_per_EM));
    constexpr FT_Int32 kLoad = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    QByteArray glyf, loca;
    std::vector<int> leftBearing(size_t(glyphs), 0);
    FT_BBox fontBox{0, 0, 0, 0};
    bool anyOutline = false;
    int maxPoints = U16(maxp, 6), maxContours = U16(maxp, 8);
    for (int g = 0; g < glyphs; ++g) {
        Put32(loca, quint32(glyf.size()));
        const FT_UInt fromRegular =
            character[size_t(g)] ? FT_Get_Char_Index(regularFace, character[size_t(g)]) : 0;
        FT_Face face = fromRegular ? regularFace : boldFace;
        if (FT_Load_Glyph(face, fromRegular ? fromRegular : FT_UInt(g), kLoad) ||
            face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            return {};
        FT_Outline& outline = face->glyph->outline;
        if (outline.n_points <= 0)
            continue; // a blank glyph has no data
        // The strokes grow right and up from the left side and the baseline; lowering by
        // half keeps the letters centred on their old height.
        OrientSeparatePieces(outline);
        FT_Outline_EmboldenXY(&outline, xs, ys);
        FT_Outline_Translate(&outline, 0, -(ys / 2));
        const FT_BBox box = PointBox(outline);
        glyf += EncodeGlyph(outline, box);
        leftBearing[size_t(g)] = int(box.xMin);
        fontBox = anyOutline ? FT_BBox{std::min(fontBox.xMin, box.xMin), std::min(fontBox.yMin, box.yMin),
                                       std::max(fontBox.xMax, box.xMax), std::max(fontBox.yMax, box.yMax)}
                             : box;
        anyOutline = true;
        maxPoints = std::max(maxPoints, int(outline.n_points));
        maxContours = std::max(maxContours, int(outline.n_contours));
    }
    Put32(loca, quint32(glyf.size()));
    tables["glyf"] = glyf;
    tables["loca"] = loca;

    Set32(head, 8, 0); // checkSumAdjustment, filled in when the file is written
    Set16(head, 36, int(fontBox.xMin));
    Set16(head, 38, int(fontBox.yMin));
    Set16(head, 40, int(fontBox.xMax));
    Set16(head, 42, int(fontBox.yMax));
    Set16(head, 50, 1); // long loca offsets
    Set16(maxp, 6, maxPoints);
    Set16(maxp, 8, maxContours);
    // Side bearings follow the new outlines; advances stay.
    const int metrics = U16(hhea, 34);
    for (int g = 0; g < glyphs; ++g) {
        const qsizetype at =
            g < metrics ? 4 * qsizetype(g) + 2 : 4 * qsizetype(metrics) + 2 * qsizetype(g - metrics);
        if (at + 2 <= hmtx.size())
            Set16(hmtx, at, leftBearing[size_t(g)]);
    }
    Set16(hhea, 14, qint16(U16(hhea, 14)) - int(xs)); // minRightSideBearing
    Set16(hhea, 16, qint16(U16(hhea, 16)) + int(xs)); // xMaxExtent
    // Bitmaps of the old shapes would be drawn instead of the outlines at their sizes.
    for (const char* tag : {"EBDT", "EBLC", "EBSC", "BDF ", "bdat", "bloc"})
        tables.erase(QByteArray(tag));
    return WriteFont(tables);
}

} // namespace platform
