# Report engine: preparing and drawing the calculation sheet, and a 1,000-page template.
tarifon_bench(report QT
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/ReportPrepare.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SheetDraw.cpp
    DEPS tarifon_sheet Qt6::Gui)
# Hostile prepared-report files through the command-line tool: time and peak memory.
tarifon_bench(hostile_files QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/HostileFiles.cpp DEPS tarifon_report Qt6::Gui)
target_compile_definitions(bench_hostile_files PRIVATE TARIFON_CLI="$<TARGET_FILE:tarifon-cli>")
add_dependencies(bench_hostile_files tarifon-cli)
