tarifon_bench(preview QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/PreviewDraw.cpp DEPS tarifon_preview tarifon_sheet)
