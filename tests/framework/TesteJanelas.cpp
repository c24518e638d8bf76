#include "framework/NURFWUtils.h"

#include "dialogos/Dialogos.h"
#include "apoio/DialogosRoteiro.h"
#include "valores/Erros.h"

#include <QApplication>
#include <QDialog>
#include <QPrinterInfo>
#include <QTest>
#include <QTimer>

// Counts its live instances, so a test sees that ShowChild destroyed what it made.
class JanelaFilha : public QDialog {
    Q_OBJECT
public:
    Q_INVOKABLE explicit JanelaFilha(QWidget* pai = nullptr) : QDialog(pai) { ++vivas; }
    ~JanelaFilha() override { --vivas; }
    static inline int vivas = 0;
};

class JanelaSemModal : public QWidget {
    Q_OBJECT
public:
    Q_INVOKABLE explicit JanelaSemModal(QWidget* pai = nullptr) : QWidget(pai) { ++vivas; }
    ~JanelaSemModal() override { --vivas; }
    static inline int vivas = 0;
};

class TesteJanelas : public QObject {
    Q_OBJECT

private slots:
    void showChildMostraModalEDestroi() {
        QString classeMostrada;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* janela = QApplication::activeModalWidget();
            if (!janela)
                return;
            classeMostrada = QString::fromLatin1(janela->metaObject()->className());
            modal = janela->isModal() && janela->isVisible();
            static_cast<QDialog*>(janela)->accept();
        });
        QWidget* Form = nullptr;
        TNURUtils::ShowChild(Form, JanelaFilha::staticMetaObject);
        QCOMPARE(classeMostrada, QStringLiteral("JanelaFilha"));
        QVERIFY(modal);
        QCOMPARE(JanelaFilha::vivas, 0);
    }

    void showChildRecusaJanelaSemModalEDestroi() {
        QVERIFY_THROWS_EXCEPTION(ErroBelqor,
                                 TNURUtils::ShowChild(nullptr, JanelaSemModal::staticMetaObject));
        QCOMPARE(JanelaSemModal::vivas, 0);
    }

    void existePrinter() {
        DialogosRoteiro dialogos;
        const bool existe = !QPrinterInfo::availablePrinterNames().isEmpty();
        QCOMPARE(TNURUtils::ExistePrinter(dialogos), existe);
        if (existe) {
            QVERIFY(dialogos.registros().isEmpty());
        } else {
            QCOMPARE(dialogos.registros().size(), 1);
            QCOMPARE(dialogos.registros()[0].texto,
                     QStringLiteral("Não foi encontrada impressora instalada no seu computador"));
            QCOMPARE(dialogos.registros()[0].titulo, QStringLiteral("Impressora"));
        }
    }
};

QTEST_MAIN(TesteJanelas)
#include "TesteJanelas.moc"
