// Draws the rate table window over a table file into a PNG picture, for the documentation
// and for checking the layout by eye: captura_tabela_selic TABELA.cds SAIDA.png
// The table is read from a copy, so the file given is never written.

#include "ratetable/TfrmTabSelic.h"
#include "valores/Erros.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// Nothing should ask anything while the window is drawn: any dialog is printed and
// answered with No or Cancel.
class DialogosNoConsole : public Dialogos {
public:
    void mensagem(const QString& texto) override { imprime(texto); }
    Resposta dialogo(const QString& texto, TipoDialogo, Botoes botoes) override {
        imprime(texto);
        return botoes & unsigned(Botao::Nao) ? Resposta::Nao : Resposta::Cancelar;
    }
    void relatorioErro(const QString& texto) override { imprime(texto); }
    void mensagemComTitulo(const QString& texto, const QString&) override { imprime(texto); }

private:
    static void imprime(const QString& texto) { std::fprintf(stderr, "%s\n", qPrintable(texto)); }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s TABELA.cds SAIDA.png\n", argv[0]);
        return 2;
    }
    QTemporaryDir pasta;
    const QString copia = pasta.filePath(QStringLiteral("BELQOR.cds"));
    if (!pasta.isValid() || !QFile::copy(QString::fromLocal8Bit(argv[1]), copia)) {
        std::fprintf(stderr, "não foi possível copiar %s\n", argv[1]);
        return 1;
    }

    RelogioSistema relogio;
    DialogosNoConsole dialogos;
    TBQDataModule dados(relogio, dialogos);
    dados.ArqDados = copia;
    dados.CDSSelic.defineNomeArquivo(copia);
    try {
        dados.CDSSelic.abrir();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(mensagemDe(e)));
        return 1;
    }

    TfrmTabSelic frmTabSelic(dados, dialogos);
    frmTabSelic.show();
    if (!QTest::qWaitForWindowExposed(&frmTabSelic))
        return 1;
    QApplication::processEvents();
    if (!frmTabSelic.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "não foi possível gravar %s\n", argv[2]);
        return 1;
    }
    return 0;
}
