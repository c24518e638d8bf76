#pragma once

// A file asked of the user: to open or to save, under a title, with the kinds of file
// offered. A window keeps the question as a function it can be given, so tests answer it
// with a path of their own and no file dialog is shown; escolheArquivoQt is Qt's dialog.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

struct PedidoArquivo {
    enum class Modo { Abrir, Gravar };
    Modo modo = Modo::Abrir;
    QString titulo;
    // "Planilhas (*.csv *.xlsx *.ods)"; the first is selected. Saving, a name typed without
    // an extension takes the first extension of the one selected.
    QStringList filtros;
    // The name offered when saving.
    QString nomeSugerido;
};

// The path chosen; empty when the user gave up.
using EscolhaArquivo = std::function<QString(QWidget* pai, const PedidoArquivo& pedido)>;

// Qt's file dialog, modal over `pai`; saving over a file that exists asks first.
QString escolheArquivoQt(QWidget* pai, const PedidoArquivo& pedido);
