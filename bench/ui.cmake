tarifon_bench(calculator_window SOURCES ${CMAKE_CURRENT_LIST_DIR}/CalculatorWindow.cpp DEPS tarifon_ui)
