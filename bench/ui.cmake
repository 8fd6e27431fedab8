tarifon_bench(calculator_window QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/CalculatorWindow.cpp DEPS tarifon_ui)
