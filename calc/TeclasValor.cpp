#include "calc/TeclasValor.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr QChar Retrocesso(8);
constexpr QChar Apagar(127);

} // namespace

std::optional<QChar> caractereDaTecla(const QKeyEvent& evento) {
    const int tecla = evento.key();
    const Qt::KeyboardModifiers mods = evento.modifiers();
    if (tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab)
        return std::nullopt;
    const bool controle = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (tecla == Qt::Key_Backspace)
        return controle ? Apagar : Retrocesso;
    if (controle && tecla >= Qt::Key_A && tecla <= Qt::Key_Z)
        return QChar(tecla - Qt::Key_A + 1);
    const QString texto = evento.text();
    if (texto.isEmpty() || texto.at(0) == Apagar)
        return std::nullopt;
    return texto.at(0);
}

void filtraTeclaValor(QLineEdit* Campo, QChar& Tecla) {
    // Everything selected (or nothing there): the text goes first, whatever the key.
    if (Campo->selectedText().size() >= Campo->text().size())
        Campo->clear();
    if (Tecla == Retrocesso)
        return;
    if (Tecla == QLatin1Char('.'))
        Tecla = QLatin1Char(',');
    const QString texto = Campo->text();
    const qsizetype virgula = texto.indexOf(QLatin1Char(','));
    if (Tecla == QLatin1Char(',') && virgula >= 0) {
        Tecla = QChar();
        return;
    }
    const bool digito = Tecla >= QLatin1Char('0') && Tecla <= QLatin1Char('9');
    if (!digito && Tecla != QLatin1Char(',')) {
        Tecla = QChar();
        return;
    }
    // Two decimals typed: nothing more goes in, wherever the caret stands.
    if (virgula >= 0 && texto.size() - virgula - 1 >= 2)
        Tecla = QChar();
}

bool aplicaFiltroValor(QLineEdit* campo, const QKeyEvent& evento) {
    const std::optional<QChar> caractere = caractereDaTecla(evento);
    if (!caractere)
        return false;
    QChar tecla = *caractere;
    filtraTeclaValor(campo, tecla);
    if (tecla.isNull())
        return true;
    if (tecla == Retrocesso)
        return false;
    campo->insert(QString(tecla));
    return true;
}
