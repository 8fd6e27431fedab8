tarifon_bench(mail QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/MailSend.cpp ${PROJECT_SOURCE_DIR}/tests/export/mail/MailServers.cpp
    DEPS tarifon_export_mail tarifon_export_pdf tarifon_sheet Qt6::Network GTest::gtest)
target_compile_definitions(bench_mail PRIVATE TARIFON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
