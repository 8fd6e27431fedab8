# Every grid export of a page of 10,000 scattered memos and of 2,000 pages of 1,000 memos: time
# and peak memory.
tarifon_bench(long_exports QT SOURCES ${CMAKE_CURRENT_LIST_DIR}/LongExports.cpp DEPS tarifon_sheet_commands)
