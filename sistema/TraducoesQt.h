#pragma once

#include <QCoreApplication>
#include <QTranslator>

// Qt's own Portuguese texts: the text fields' context menu, the standard dialogs and their
// buttons, from the translations installed with Qt. Whatever a translator installed later
// handles (the standard-text table's button captions) still takes precedence.
class TraducoesQt {
public:
    TraducoesQt() = default;
    TraducoesQt(const TraducoesQt&) = delete;
    TraducoesQt& operator=(const TraducoesQt&) = delete;
    ~TraducoesQt();

    // Loads Qt's Brazilian Portuguese catalogue and installs it on the application. False,
    // and Qt's English texts remain, when the catalogue is not installed.
    bool instala(QCoreApplication& aplicacao);

private:
    QTranslator fQtBase;
    QCoreApplication* fAplicacao = nullptr;
};
