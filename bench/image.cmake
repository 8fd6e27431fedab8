# The picture exports per format, and our GIF encoder and TIFF writer against ImageMagick.
tarifon_bench(image SOURCES ${CMAKE_CURRENT_LIST_DIR}/ImageExport.cpp DEPS tarifon_export_image tarifon_sheet tarifon_platform Qt6::Widgets)
