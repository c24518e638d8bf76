#pragma once

// libxlsxwriter, which writes the statement's .xlsx, loaded into a link namespace of its own.
//
// QuaZip, which reads the spreadsheets, carries its own copy of minizip and exports its
// functions under minizip's names (zipOpen, zipClose…), changed to take Qt devices;
// libxlsxwriter calls the system's minizip by the same names. In one process the dynamic
// linker gives every library the first definition it meets, so one of the two would call
// the other's copy and crash. Loaded with dlmopen into a new namespace, libxlsxwriter sees
// only itself and its own dependencies, whatever else the process holds. Its functions are
// reached through the pointers below, typed by its own header; nothing else includes it.

#include <xlsxwriter.h>

struct BibliotecaXlsx {
    decltype(&::workbook_new_opt) workbook_new_opt;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet;
    decltype(&::workbook_add_format) workbook_add_format;
    decltype(&::format_set_num_format) format_set_num_format;
    decltype(&::format_set_bold) format_set_bold;
    decltype(&::worksheet_write_string) worksheet_write_string;
    decltype(&::worksheet_write_number) worksheet_write_number;
    decltype(&::worksheet_set_column) worksheet_set_column;
    decltype(&::worksheet_freeze_panes) worksheet_freeze_panes;
    decltype(&::workbook_close) workbook_close;
    // The namespace has a C library of its own, and with it its own errno.
    int* (*errno_location)();
};

// Loaded on the first call and kept for the life of the process; nothing when the library
// cannot be loaded.
const BibliotecaXlsx* bibliotecaXlsx();
