# The layout matrix over many copies of the calculation sheet, and prepared-report files.
tarifon_bench(export_matrix SOURCES ExportMatrix.cpp DEPS tarifon_export Qt6::Widgets)
tarifon_bench(trp_file QT SOURCES TrpFile.cpp DEPS tarifon_export Qt6::Widgets)
target_compile_definitions(bench_trp_file PRIVATE TARIFON_CLI="$<TARGET_FILE:tarifon-cli>")
add_dependencies(bench_trp_file tarifon-cli)
