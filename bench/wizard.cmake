tarifon_bench(wizard_page_switch QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/WizardPageSwitch.cpp DEPS tarifon_wizard)
