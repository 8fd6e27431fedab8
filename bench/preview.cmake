tarifon_bench(preview SOURCES ${CMAKE_CURRENT_LIST_DIR}/PreviewDraw.cpp DEPS tarifon_report_preview tarifon_sheet)
