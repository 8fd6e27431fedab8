#include "export/pdf/PdfOutline.h"

#include "export/pdf/PdfFormat.h"
#include "platform/Units.h"

#include <cmath>

namespace exports {

using namespace report;

TrpPDFOutlineNode::~TrpPDFOutlineNode() {
    // Free long sibling chains iteratively, so a flat outline of many items cannot exhaust
    // the stack.
    std::unique_ptr<TrpPDFOutlineNode> next = std::move(NextSibling);
    while (next)
        next = std::move(next->NextSibling);
}

void TrpPDFOutlineNode::Build(const std::vector<TrpPDFOutlineItem>& items) {
    Count = Total = int(items.size());
    TrpPDFOutlineNode* previous = nullptr;
    for (const TrpPDFOutlineItem& item : items) {
        auto child = std::make_unique<TrpPDFOutlineNode>();
        child->Text = item.Text;
        child->Page = item.Page;
        child->Top = item.Top;
        child->Parent = this;
        child->PrevSibling = previous;
        TrpPDFOutlineNode* raw = child.get();
        if (previous)
            previous->NextSibling = std::move(child);
        else
            FirstChild = std::move(child);
        raw->Build(item.Children);
        Total += raw->Total;
        previous = raw;
    }
    LastChild = previous;
}

namespace {

void Visit(TrpPDFFile& file, TrpPDFStream& out, TrpPDFOutlineNode& first, int parent, int& next,
           int firstPage, long double pageHeight, int pageCount) {
    for (TrpPDFOutlineNode* node = &first; node; node = node->NextSibling.get()) {
        node->Number = next++;
        file.BeginObject(out, file, node->Number);
        file.AppendLine("/Title " + PdfString(node->Text));
        file.AppendLine("/Parent " + QByteArray::number(parent) + " 0 R");
        if (node->PrevSibling)
            file.AppendLine("/Prev " + QByteArray::number(node->PrevSibling->Number) + " 0 R");
        if (node->FirstChild) {
            file.AppendLine("/First " + QByteArray::number(node->Number + 1) + " 0 R");
            file.AppendLine("/Last " +
                            QByteArray::number(node->Number + node->Total - node->LastChild->Total) + " 0 R");
            file.AppendLine("/Count " + QByteArray::number(node->Count));
        }
        if (node->NextSibling)
            file.AppendLine("/Next " + QByteArray::number(node->Number + node->Total + 1) + " 0 R");
        const int page = std::clamp(node->Page, 0, std::max(pageCount - 1, 0));
        file.AppendLine(
            "/Dest [" + QByteArray::number(firstPage + 2 * page) + " 0 R /XYZ 0 " +
            QByteArray::number(qlonglong(std::llround(pageHeight - node->Top * PointsPerReportPixel))) +
            " 0]");
        file.AppendLine(">>");
        file.AppendLine("endobj");
        file.FlushTo(out);
        if (node->FirstChild)
            Visit(file, out, *node->FirstChild, node->Number, next, firstPage, pageHeight, pageCount);
    }
}

} // namespace

void WriteOutlineNodes(TrpPDFFile& file, TrpPDFStream& out, TrpPDFOutlineNode& root, int firstPageObject,
                       long double pageHeight, int pageCount) {
    root.Number = 3;
    int next = 4;
    if (root.FirstChild)
        Visit(file, out, *root.FirstChild, root.Number, next, firstPageObject, pageHeight, pageCount);
}

} // namespace exports
