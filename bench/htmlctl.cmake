tarifon_bench(htmlctl_radio_group QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/HtmlRadioGroup.cpp DEPS tarifon_htmlctl)
