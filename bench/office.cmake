# The RTF and Excel XML exports over the calculation sheet and many copies of it.
tarifon_bench(office SOURCES ${CMAKE_CURRENT_LIST_DIR}/OfficeExport.cpp
    DEPS tarifon_export_rtf tarifon_export_xml tarifon_export_pdf tarifon_sheet Qt6::Widgets)
