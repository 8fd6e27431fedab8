tarifon_bench(pdf SOURCES ${CMAKE_CURRENT_LIST_DIR}/PdfExport.cpp DEPS tarifon_export_pdf tarifon_sheet Qt6::Widgets)
