# The layout matrix over many copies of the calculation sheet, and prepared-report files.
tarifon_bench(export_matrix SOURCES ExportMatrix.cpp DEPS tarifon_export Qt6::Widgets)
target_include_directories(bench_export_matrix PRIVATE ${PROJECT_SOURCE_DIR}/tests)
tarifon_bench(trp_file QT SOURCES TrpFile.cpp DEPS tarifon_export Qt6::Widgets)
target_include_directories(bench_trp_file PRIVATE ${PROJECT_SOURCE_DIR}/tests)
