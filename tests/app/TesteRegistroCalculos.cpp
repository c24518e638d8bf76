#include "app/RegistroCalculos.h"

#include "apoio/ArquivosTeste.h"
#include "apoio/DialogosRoteiro.h"
#include "apoio/ModuloTeste.h"
#include "calc/TfrmCalcular.h"
#include "historico/Historico.h"
#include "valores/Relogio.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The calculation window as the program builds it: every successful "&Calcular" recorded
// in the history as shown, a failed one not; a history that cannot be written said once,
// the results on screen all the same.
class TesteRegistroCalculos : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;
    RelogioFixo fRelogio{
        Datas::combinaDataHora(Datas::codificaData(2020, 6, 15), Datas::codificaHora(14, 30, 5))};
    DialogosRoteiro fDialogos;
    std::unique_ptr<ModuloTeste> fDados;
    std::unique_ptr<RegistradorHistorico> fRegistrador;
    std::unique_ptr<TfrmCalcular> fJanela;

    QString historico() const { return fPasta.filePath(QStringLiteral("historico.sqlite")); }
    QString total() const {
        return fJanela->findChild<QLabel*>(QStringLiteral("lblResTotal"))->text();
    }

    void calcula(const QString& valor, const QDate& vencimento, const QDate& pagamento) {
        auto* campo = fJanela->findChild<QLineEdit*>(QStringLiteral("MaskEditValor"));
        campo->setFocus();
        campo->selectAll();
        QTest::keyClicks(campo, valor);
        fJanela->findChild<QDateEdit*>(QStringLiteral("DTPickerDataVencimento"))
            ->setDate(vencimento);
        fJanela->findChild<QDateEdit*>(QStringLiteral("DTPickerDataPagamento"))->setDate(pagamento);
        QTest::mouseClick(fJanela->findChild<QPushButton*>(QStringLiteral("btnCalcular")),
                          Qt::LeftButton);
    }

private slots:
    void init() {
        fDialogos.limpa();
        for (const QString& sufixo : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(historico() + sufixo);
        fDados =
            std::make_unique<ModuloTeste>(fRelogio, fDialogos, fPasta.path(),
                                          MesesTeste{{QDate(2020, 2, 1), QStringLiteral("0.29")},
                                                     {QDate(2020, 3, 1), QStringLiteral("0.34")}});
        fRegistrador = std::make_unique<RegistradorHistorico>(
            RegistradorHistorico::aberturaDe(DestinoHistorico::sqlite(historico())),
            avisoDoHistorico(fDialogos));
        fJanela = std::make_unique<TfrmCalcular>(*fDados, fDialogos, fRelogio);
        registraCalculosDaJanela(*fJanela, *fRegistrador, fRelogio, QStringLiteral("3.02.00"));
        fJanela->show();
        QApplication::setActiveWindow(fJanela.get());
        QVERIFY(QTest::qWaitForWindowActive(fJanela.get()));
    }
    void cleanup() {
        fJanela.reset();
        fRegistrador.reset();
        fDados.reset();
    }

    void cadaCalculoERegistrado() {
        calcula(QStringLiteral("1000,00"), QDate(2020, 1, 10), QDate(2020, 4, 10));
        QCOMPARE(total(), QStringLiteral("1.138,26"));
        fRelogio.define(fRelogio.agora() + 1.0 / 24);
        calcula(QStringLiteral("250,50"), QDate(2020, 3, 10), QDate(2020, 3, 20));
        QCOMPARE(fDialogos.textos(), QStringList());

        Historico h(DestinoHistorico::sqlite(historico()));
        QCOMPARE(h.verifica().verificados, 2);
        const RegistroHistorico primeiro = h.le(1);
        QCOMPARE(primeiro.Tipo, TipoRegistro::Calculo);
        QCOMPARE(primeiro.Emissao, Datas::combinaDataHora(Datas::codificaData(2020, 6, 15),
                                                          Datas::codificaHora(14, 30, 5)));
        QCOMPARE(primeiro.Identidade.Versao, QStringLiteral("3.02.00"));
        QCOMPARE(primeiro.Debitos.first().Exibido.Total, QStringLiteral("1.138,26"));
        QCOMPARE(primeiro.Debitos.first().Entrada.Vencimento, Datas::codificaData(2020, 1, 10));
        const RegistroHistorico segundo = h.le(2);
        QCOMPARE(segundo.Debitos.first().Exibido.Valor, QStringLiteral("250,50"));
        QCOMPARE(segundo.Debitos.first().Exibido.Total, total());
        QCOMPARE(segundo.Emissao, fRelogio.agora());
    }

    void calculoRecusadoNaoERegistrado() {
        // No rate for 04/2020: the calculation is abandoned with its message.
        calcula(QStringLiteral("1000,00"), QDate(2020, 1, 10), QDate(2020, 6, 10));
        QCOMPARE(fDialogos.textos().size(), 1);
        QVERIFY(!QFileInfo::exists(historico()));
    }

    void historicoQueNaoServeEDitoUmaVez() {
        const QByteArray danificado("não é um banco de dados\n");
        gravaArquivoTeste(historico(), danificado);
        calcula(QStringLiteral("1000,00"), QDate(2020, 1, 10), QDate(2020, 4, 10));
        QCOMPARE(total(), QStringLiteral("1.138,26"));
        calcula(QStringLiteral("250,50"), QDate(2020, 3, 10), QDate(2020, 3, 20));
        QCOMPARE(total(), QStringLiteral("254,26"));

        QCOMPARE(fDialogos.registros().size(), 1);
        const DialogosRoteiro::Registro& aviso = fDialogos.registros().first();
        QCOMPARE(aviso.tipoDialogo, TipoDialogo::Aviso);
        QCOMPARE(aviso.botoes, unsigned(Botao::Ok));
        QCOMPARE(aviso.texto,
                 QStringLiteral("O arquivo \"%1\" está danificado ou não é um histórico do BELQOR: "
                                "o arquivo não é um banco de dados SQLite. O arquivo foi mantido "
                                "como está.\n\rOs cálculos continuam, mas não são registrados no "
                                "histórico.")
                     .arg(historico()));
        QCOMPARE(conteudoArquivo(historico()), danificado);
        // The results can still be printed.
        QVERIFY(fJanela->findChild<QPushButton*>(QStringLiteral("btnImprimir"))->isEnabled());
    }
};

QTEST_MAIN(TesteRegistroCalculos)
#include "TesteRegistroCalculos.moc"
