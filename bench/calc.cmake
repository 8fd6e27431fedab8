tarifon_bench(calc_answer SOURCES CalcAnswer.cpp DEPS tarifon_calc)
tarifon_bench(cli_quote SOURCES CliQuote.cpp)
target_compile_definitions(bench_cli_quote PRIVATE TARIFON_CLI="$<TARGET_FILE:tarifon-cli>")
add_dependencies(bench_cli_quote tarifon-cli)
