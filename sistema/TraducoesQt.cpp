#include "sistema/TraducoesQt.h"

#include <QLibraryInfo>
#include <QLocale>

TraducoesQt::~TraducoesQt() {
    if (fAplicacao)
        fAplicacao->removeTranslator(&fQtBase);
}

bool TraducoesQt::instala(QCoreApplication& aplicacao) {
    // The program speaks Portuguese whatever the machine's locale.
    if (!fQtBase.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    aplicacao.installTranslator(&fQtBase);
    fAplicacao = &aplicacao;
    return true;
}
