tarifon_bench(preview QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/PreviewDraw.cpp DEPS tarifon_report_preview tarifon_sheet)
