#pragma once
// The toolkit's colour vocabulary every subsystem shares: colour values as forms and report
// files store them (00BBGGRR for plain colours, FF0000nn for system colour nn, clNone for
// "paint nothing"), their names, and the one desktop scheme system colours resolve through.

#include <QColor>
#include <QString>
#include <cstdint>

namespace platform {

using TColor = std::uint32_t;

constexpr TColor clSystemColor = 0xFF000000u;
constexpr TColor clNone = 0x1FFFFFFFu;

constexpr TColor clBlack = 0x000000u;
constexpr TColor clMaroon = 0x000080u;
constexpr TColor clGreen = 0x008000u;
constexpr TColor clOlive = 0x008080u;
constexpr TColor clNavy = 0x800000u;
constexpr TColor clPurple = 0x800080u;
constexpr TColor clTeal = 0x808000u;
constexpr TColor clGray = 0x808080u;
constexpr TColor clSilver = 0xC0C0C0u;
constexpr TColor clRed = 0x0000FFu;
constexpr TColor clLime = 0x00FF00u;
constexpr TColor clYellow = 0x00FFFFu;
constexpr TColor clBlue = 0xFF0000u;
constexpr TColor clFuchsia = 0xFF00FFu;
constexpr TColor clAqua = 0xFFFF00u;
constexpr TColor clWhite = 0xFFFFFFu;

constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;

// The RGB value a colour stands for. System colours resolve through the program's fixed desktop
// scheme (the one its pictures were drawn for), so that windows, reports and exports look the
// same on every machine; an unknown system colour is black. clNone gives an invalid QColor.
QColor ColorToQColor(TColor color);

// A colour by its name, with or without the "cl" prefix, without regard to case: the sixteen
// plain colours, "moneygreen", "skyblue", "cream", "medgray" and the system colour names
// ("btnface", "highlight", ...). False when the name is unknown.
bool ColorByName(const QString& name, TColor& color);

} // namespace platform
