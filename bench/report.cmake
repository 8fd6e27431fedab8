# Report engine: preparing and drawing the calculation sheet, and a 1,000-page template.
tarifon_bench(report QT
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/ReportPrepare.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SheetDraw.cpp
    DEPS tarifon_sheet Qt6::Gui)
