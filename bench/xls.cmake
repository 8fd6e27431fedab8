tarifon_bench(xls SOURCES ${CMAKE_CURRENT_LIST_DIR}/XlsExport.cpp DEPS tarifon_export_xls tarifon_export_xml tarifon_sheet Qt6::Widgets)
