#pragma once

#include "Dialogos.h"
#include "TradutorTextosPadrao.h"

#include <QApplication>

// The application object: sets the application title and Qt's default locale, makes Qt's
// own button captions follow the standard-text table, and catches what an event handler
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
    TradutorTextosPadrao fTradutor;
};
