# The HTML export of 1 to 1,000 sheets against the layout matrix alone on the same pages.
tarifon_bench(html SOURCES ${CMAKE_CURRENT_LIST_DIR}/HtmlExport.cpp DEPS tarifon_export_html Qt6::Widgets)
