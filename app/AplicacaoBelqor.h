#pragma once

#include "dialogos/Dialogos.h"
#include "sistema/TraducoesQt.h"
#include "widgets/TradutorTextosPadrao.h"

#include <QApplication>

// The application object: sets the application title, the application id (the window class
// and the desktop entry's name) and Qt's default locale, loads Qt's Portuguese texts, makes
// Qt's own button captions follow the standard-text table, and catches what an event handler
// let escape.
class AplicacaoBelqor : public QApplication {
    Q_OBJECT

public:
    static const QString Titulo;

    AplicacaoBelqor(int& argc, char** argv, Dialogos& dialogos);
    ~AplicacaoBelqor() override;

    // The last safety net: handlers guard their own bodies, so a failure seen here is one
    // that slipped past them. It goes to the general error report and the program goes on.
    bool notify(QObject* destino, QEvent* evento) override;

    // Whether a graphical session is there to show windows on; without one Qt would abort.
    static bool haTelaDisponivel();

private:
    Dialogos& fDialogos;
    TraducoesQt fTraducoesQt;
    TradutorTextosPadrao fTradutor;
};
