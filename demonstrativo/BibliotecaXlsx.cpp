#include "demonstrativo/BibliotecaXlsx.h"

#include <optional>
#include <type_traits>

#include <dlfcn.h>

namespace {

std::optional<BibliotecaXlsx> carrega() {
    void* biblioteca = dlmopen(LM_ID_NEWLM, BELQOR_SONAME_XLSXWRITER, RTLD_NOW | RTLD_LOCAL);
    if (!biblioteca)
        return std::nullopt;
    BibliotecaXlsx b{};
    bool completa = true;
    const auto liga = [&](auto& funcao, const char* nome) {
        funcao =
            reinterpret_cast<std::remove_reference_t<decltype(funcao)>>(dlsym(biblioteca, nome));
        completa = completa && funcao;
    };
    liga(b.workbook_new_opt, "workbook_new_opt");
    liga(b.workbook_add_worksheet, "workbook_add_worksheet");
    liga(b.workbook_add_format, "workbook_add_format");
    liga(b.format_set_num_format, "format_set_num_format");
    liga(b.format_set_bold, "format_set_bold");
    liga(b.worksheet_write_string, "worksheet_write_string");
    liga(b.worksheet_write_number, "worksheet_write_number");
    liga(b.worksheet_set_column, "worksheet_set_column");
    liga(b.worksheet_freeze_panes, "worksheet_freeze_panes");
    liga(b.workbook_close, "workbook_close");
    liga(b.errno_location, "__errno_location");
    if (!completa) {
        dlclose(biblioteca);
        return std::nullopt;
    }
    return b;
}

} // namespace

const BibliotecaXlsx* bibliotecaXlsx() {
    static const std::optional<BibliotecaXlsx> biblioteca = carrega();
    return biblioteca ? &*biblioteca : nullptr;
}
