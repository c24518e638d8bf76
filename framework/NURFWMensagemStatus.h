#pragma once

#include <QWidget>

#include <memory>

class QFrame;
class QLabel;
class QTimer;

namespace Ui {
class TfrmNURMensagem;
}

// The small status window: one centred line of text in a framed panel. TNURUtils::MostraStatus
// creates it, sizes it to the text and takes it away again.
class TfrmNURMensagem : public QWidget {
    Q_OBJECT

public:
    explicit TfrmNURMensagem(QWidget* parent = nullptr);
    ~TfrmNURMensagem() override;

    QLabel* pnlMostraStatus;
    QFrame* FwBevel;
    // Repaints the window while the caller lets the message loop run.
    QTimer* TimerAtualizaMensagem;

    void TimerAtualizaMensagemTimer();

private:
    std::unique_ptr<Ui::TfrmNURMensagem> ui;
};
