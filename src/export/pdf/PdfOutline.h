#pragma once
// The bookmark tree written from the report outline: numbers are fixed in advance from the
// descendant counts, and agree with the order in which nodes are written (depth first).

#include "export/pdf/PdfFile.h"

#include <memory>

namespace exports {

class TrpPDFOutlineNode {
public:
    QString Text;
    int Page = -1;                                 // 0-based page index; -1 for the root
    int Top = 0;                                   // report units
    int Number = 0;                                // object number
    int Total = 0;                                 // all descendants
    int Count = 0;                                 // direct children
    std::unique_ptr<TrpPDFOutlineNode> FirstChild; // owned, like NextSibling
    TrpPDFOutlineNode* LastChild = nullptr;
    TrpPDFOutlineNode* Parent = nullptr;
    TrpPDFOutlineNode* PrevSibling = nullptr;
    std::unique_ptr<TrpPDFOutlineNode> NextSibling;

    ~TrpPDFOutlineNode();
    // Builds the children of this node from the items of one level.
    void Build(const std::vector<TrpPDFOutlineItem>& items);
};

// Writes every node below the root (object 3) as one object each. firstPageObject is the
// number of page 0's object; pageHeight the first page's height in points; pageCount clamps
// destinations to existing pages.
void WriteOutlineNodes(TrpPDFFile& file, TrpPDFStream& out, TrpPDFOutlineNode& root, int firstPageObject,
                       long double pageHeight, int pageCount);

} // namespace exports
