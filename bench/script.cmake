tarifon_bench(script SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScriptBench.cpp DEPS tarifon_script)
