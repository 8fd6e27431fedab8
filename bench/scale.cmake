# The engine at scale: long reports prepared, saved, reopened, searched and exported to PDF,
# with and without the file cache of prepared pages.
tarifon_bench(scale QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/ReportScale.cpp DEPS tarifon_export_pdf Qt6::Gui)
