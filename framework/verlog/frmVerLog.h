#pragma once

#include "sistema/CanalVisualizadorLog.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TfrmVisualiadorAvancadoLog_NURTO;
}

// The log viewer's window: lists every line forwarded to it, newest at the bottom.
class TfrmVisualiadorAvancadoLog_NURTO : public QWidget {
    Q_OBJECT

public:
    explicit TfrmVisualiadorAvancadoLog_NURTO(QWidget* parent = nullptr);
    ~TfrmVisualiadorAvancadoLog_NURTO() override;

    // Starts receiving on the channel; the footer tells whether that worked.
    bool escuta(const QString& nomeCanal = CanalVisualizadorLogLocal::nomePadrao());

    void btnLimparClick();
    void acrescentaLinha(const QString& linha);

private:
    std::unique_ptr<Ui::TfrmVisualiadorAvancadoLog_NURTO> ui;
    OuvinteVisualizadorLog fOuvinte;
};
