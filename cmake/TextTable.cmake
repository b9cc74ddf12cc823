# Turns the translators' UTF-8 files app/lang/<code>.txt into a C++ source
# holding the built-in text table. Placeholder until the table arrives.
set(TEXT_TABLE_SOURCE)
