# The CSV, plain-text and printer-text exports over many sheet pages, beside the layout matrix alone.
tarifon_bench(text_export SOURCES ${CMAKE_CURRENT_LIST_DIR}/TextExport.cpp DEPS tarifon_export_text Qt6::Widgets)
