#pragma once
// The engine that runs template pages into prepared pages.

#include "report/Components.h"

#include <QDateTime>

namespace report {

class TrpReport;

// Places aligned objects inside a band of the given size (left/width against their
// neighbours, then centre, bottom and client).
void AlignBandObjects(std::vector<TrpView*>& objects, Extended bandWidth, Extended bandHeight);

class TrpEngine {
public:
    explicit TrpEngine(TrpReport* report) : FReport(report) {}

    // Runs every visible report page; throws on errors (the report catches them).
    void Run();

    bool Running() const { return FRunning; }
    bool FinalPass() const { return FFinalPass; }
    int TotalPages() const { return FTotalPages; }
    // Physical page number of the page being built, from 1.
    int PageNo() const;
    Extended CurX() const { return FCurX; }
    Extended CurY() const { return FCurY; }
    Extended PageWidth() const { return FPageWidth; }
    Extended PageHeight() const { return FPageHeight; }
    int CurColumn() const { return FCurColumn; }
    int CurLine() const { return FCurLine; }
    int CurLineThrough() const { return FCurLineThrough; }
    TrpReportPage* CurPage() const { return FCurPage; }
    // Whether a memo asked for the total page count during this run.
    void NoteTotalPagesUsed() { FTotalPagesUsed = true; }

private:
    void RunPage(TrpReportPage& page, int sourceIndex);
    void ProducePage(TrpReportPage& page, int sourceIndex);
    void PrintBand(TrpBand& band);
    // Grows a stretching memo to its text and sizes an auto-width one.
    void Fit(TrpView& view);

    TrpReport* FReport;
    bool FRunning = false;
    bool FFinalPass = true;
    bool FTotalPagesUsed = false;
    int FTotalPages = 0;
    Extended FCurX = 0, FCurY = 0;
    Extended FPageWidth = 0, FPageHeight = 0;
    int FCurColumn = 1;
    int FCurLine = 0, FCurLineThrough = 0;
    TrpReportPage* FCurPage = nullptr;
};

} // namespace report
