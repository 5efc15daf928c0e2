# The configuration block: the integer-text rule, the field makers and the
# 128-byte encoder.
target_sources(korva_tracker PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/IntegerText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigBlockFields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigBlock.cpp
)
