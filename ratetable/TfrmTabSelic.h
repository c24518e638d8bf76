#pragma once

#include "ratetable/BQDataModule.h"

#include <QDialog>

#include <functional>
#include <memory>

class ModeloGrade;

namespace Ui {
class TfrmTabSelic;
}

// The rate table window: browses the monthly Selic rates and maintains them by hand.
// It keeps no data of its own: its grid works on the rate table of the data module, and
// every change goes through the table's rules there. A change left pending when the
// window closes stays pending in the table.
class TfrmTabSelic : public QDialog {
    Q_OBJECT

public:
    TfrmTabSelic(TBQDataModule& dados, Dialogos& dialogos, QWidget* parent = nullptr);
    ~TfrmTabSelic() override;

    // Connects the grid to the rate table.
    ModeloGrade* const dsSelic;

public slots:
    void FormShow();
    void actFirstExecute();
    void actPriorExecute();
    void actNextExecute();
    void actLastExecute();
    void actIncluirExecute();
    void actExcluirExecute();
    void actFecharExecute();

protected:
    void showEvent(QShowEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    // Puts the text typed into the grid into its field, then runs the table operation;
    // failures go to the dialogs.
    void executa(const std::function<void(TabelaMemoria&)>& operacao);

    std::unique_ptr<Ui::TfrmTabSelic> ui;
    TBQDataModule& fDados;
    Dialogos& fDialogos;
};

// Opens a new rate table window modally over pai and destroys it when it closes.
void abreJanelaTabelaSelic(QWidget* pai, TBQDataModule& dados, Dialogos& dialogos);
