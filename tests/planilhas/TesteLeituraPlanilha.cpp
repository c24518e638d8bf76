#include "apoio/ArquivosTeste.h"
#include "planilhas/ErrosPlanilha.h"
#include "planilhas/FormasPlanilha.h"
#include "planilhas/FormatoNumeroXlsx.h"
#include "planilhas/LeituraPlanilha.h"
#include "valores/ConfiguracaoRegional.h"
#include "valores/Erros.h"
#include "valores/Formatacao.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <functional>
#include <utility>

Q_DECLARE_METATYPE(FormatoPlanilha)

namespace {

using Membros = QList<std::pair<QString, QByteArray>>;

// A zip container holding the members, deflated, in that order.
QByteArray zip(const Membros& membros) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip pacote(&buffer);
    if (!pacote.open(QuaZip::mdCreate))
        qFatal("zip de teste não criado");
    for (const auto& [nome, conteudo] : membros) {
        QuaZipFile membro(&pacote);
        if (!membro.open(QIODevice::WriteOnly, QuaZipNewInfo(nome)) ||
            membro.write(conteudo) != conteudo.size())
            qFatal("membro de teste não gravado");
        membro.close();
    }
    pacote.close();
    return bytes;
}

QByteArray fixture(const QString& nome) {
    return conteudoArquivo(QStringLiteral(BELQOR_FIXTURES "/planilhas/") + nome);
}

// Where the central directory describes a member: the offset of its entry.
qsizetype entradaCentral(const QByteArray& bytes, const QByteArray& membro) {
    for (qsizetype i = bytes.indexOf("PK\x01\x02"); i >= 0;
         i = bytes.indexOf("PK\x01\x02", i + 4)) {
        const qsizetype tamanhoNome = quint8(bytes[i + 28]) | quint8(bytes[i + 29]) << 8;
        if (bytes.mid(i + 46, tamanhoNome) == membro)
            return i;
    }
    qFatal("membro não encontrado no diretório central");
}

void poe32(QByteArray& bytes, qsizetype i, quint32 valor) {
    for (int k = 0; k < 4; ++k)
        bytes[i + k] = char(valor >> (8 * k) & 0xFF);
}

// The CRC the central directory gives a member, changed: its bytes decompress, but not to
// what the container says they are.
QByteArray comCrcTrocado(QByteArray bytes, const QByteArray& membro) {
    const qsizetype i = entradaCentral(bytes, membro) + 16;
    bytes[i] = char(bytes[i] ^ 0x5A);
    return bytes;
}

// The central directory placing a member's header elsewhere.
QByteArray comMembroEm(QByteArray bytes, const QByteArray& membro, quint32 posicao) {
    poe32(bytes, entradaCentral(bytes, membro) + 42, posicao);
    return bytes;
}

// The count of members the container's end record claims.
QByteArray comMembrosContados(QByteArray bytes, quint16 quantos) {
    const qsizetype fim = bytes.lastIndexOf("PK\x05\x06");
    for (const qsizetype campo : {fim + 8, fim + 10}) {
        bytes[campo] = char(quantos & 0xFF);
        bytes[campo + 1] = char(quantos >> 8);
    }
    return bytes;
}

// The size a member says it expands to, in the central directory and in its own header.
QByteArray comTamanhoDeclarado(QByteArray bytes, const QByteArray& membro, quint32 tamanho) {
    const qsizetype central = entradaCentral(bytes, membro);
    const qsizetype local =
        quint32(quint8(bytes[central + 42])) | quint32(quint8(bytes[central + 43])) << 8 |
        quint32(quint8(bytes[central + 44])) << 16 | quint32(quint8(bytes[central + 45])) << 24;
    poe32(bytes, central + 24, tamanho);
    poe32(bytes, local + 22, tamanho);
    return bytes;
}

// A workbook whose one sheet, xl/f.xml, is the XML given; no shared texts.
QByteArray xlsxComFolha(const QByteArray& folha) {
    return zip({{QStringLiteral("xl/workbook.xml"),
                 "<workbook xmlns:r=\"urn:r\"><sheets><sheet r:id=\"a\"/></sheets></workbook>"},
                {QStringLiteral("xl/_rels/workbook.xml.rels"),
                 "<Relationships><Relationship Id=\"a\" Type=\"x/worksheet\" "
                 "Target=\"f.xml\"/></Relationships>"},
                {QStringLiteral("xl/f.xml"), folha}});
}

// "N: célula | célula": n for a number (as the cell shows it), d for a date, t for a
// text, - for an empty cell.
QStringList descricao(const QList<LinhaPlanilha>& linhas) {
    QStringList r;
    for (const LinhaPlanilha& linha : linhas) {
        QStringList celulas;
        for (const CelulaPlanilha& c : linha.celulas) {
            switch (c.tipo) {
            case CelulaPlanilha::Tipo::Vazia:
                celulas << QStringLiteral("-");
                break;
            case CelulaPlanilha::Tipo::Numero:
                celulas << QLatin1Char('n') + numeroDaPlanilha(c.numero);
                break;
            case CelulaPlanilha::Tipo::Data:
                celulas << QLatin1Char('d') + Formato::dataHoraParaTexto(c.numero);
                break;
            case CelulaPlanilha::Tipo::Texto:
                celulas << QLatin1Char('t') + c.texto;
                break;
            }
        }
        r << QStringLiteral("%1: %2").arg(linha.numero).arg(celulas.join(QLatin1String(" | ")));
    }
    return r;
}

// The members of an .ods whose content.xml holds the body given, inside its spreadsheet.
Membros ods(const QByteArray& tabelas) {
    return {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
            {QStringLiteral("content.xml"),
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
             "<office:document-content "
             "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
             "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
             "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
             "<office:body><office:spreadsheet>" +
                 tabelas + "</office:spreadsheet></office:body></office:document-content>"}};
}

// A workbook written by hand, one file per member under fixtures/planilhas/feita-a-mao:
// the relationships' targets absolute and relative, the first sheet listed first but
// stored second, elements under a prefix, the 1904 date system, rich and phonetic texts,
// cells and rows without their references, every kind of cell.
Membros xlsxFeitoAMao() {
    const QDir pasta(QStringLiteral(BELQOR_FIXTURES "/planilhas/feita-a-mao"));
    Membros membros;
    QDirIterator arquivos(pasta.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (arquivos.hasNext()) {
        const QString arquivo = arquivos.next();
        membros.append({pasta.relativeFilePath(arquivo), conteudoArquivo(arquivo)});
    }
    return membros;
}

} // namespace

class TesteLeituraPlanilha : public QObject {
    Q_OBJECT

    QTemporaryDir fPasta;

private slots:
    void initTestCase() { regional() = ConfiguracaoRegional::brasileira(); }
    // Nothing of Qt's or QuaZip's own English reaches the log: the user reads the message.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); }

    // The fixtures saved by a spreadsheet program: both formats give the same cells, of the
    // kind the program stored, from the first sheet only.
    void fixturesSalvasPorPrograma_data() {
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<FormatoPlanilha>("formato");
        QTest::newRow("xlsx") << "debitos.xlsx" << FormatoPlanilha::Xlsx;
        QTest::newRow("ods") << "debitos.ods" << FormatoPlanilha::Ods;
    }
    void fixturesSalvasPorPrograma() {
        QFETCH(QString, arquivo);
        QFETCH(FormatoPlanilha, formato);
        const QStringList esperado{
            "1: tDébitos da Comércio Exemplo Ltda.",
            "2: tVALOR | tReferência | tDescrição | tVencimento",
            "3: n1000 | d01/12/2019 | tICMS próprio | d10/01/2020",
            "4: t1.000,00 | t01/2020 | - | t10/02/2020",
            "7: n2500,5 | t02/2020 | tSubstituição; \"tributária\" | d10/03/2020",
            "8: n700 | t03/2020 | tData ruim | t31/02/2020",
            "9: t1.2a3,00 | t04/2020 | tValor ruim | d11/05/2020",
            // The note on the description cell is no part of its text.
            "10: tR$ 333,33 | d01/05/2020 | tCom nota | t2020-06-10",
            // A formula gives the result the program stored.
            "11: n1234,56 | t06/2020 | tFórmula | d10/07/2020",
            "12: - | - | - | - | - | tFonte: livro de apuração",
        };
        const QString caminho = QStringLiteral(BELQOR_FIXTURES "/planilhas/") + arquivo;
        QCOMPARE(descricao(lePrimeiraFolha(caminho, formato)), esperado);
    }

    void xlsxFeitoAMao() {
        const QStringList esperado{
            "1: tICMS próprio | tembutido | - | n1",
            // 42378 in the 1904 date system is 10/01/2020; a time of day is kept.
            "2: d10/01/2020 | n1000,5 | d10/01/2020 12:00:00 | d02/01/2020 | t#N/D | "
            "ttexto de fórmula",
            "5: tlinha\rsegunda | d10/01/2020",
            // A negative number shows no date, whatever its format.
            "6: n-5",
        };
        QCOMPARE(descricao(lePrimeiraFolha(zip(::xlsxFeitoAMao()), QStringLiteral("a.xlsx"),
                                           FormatoPlanilha::Xlsx)),
                 esperado);
    }

    // Repeated rows and cells: the empty ones cost nothing, whatever their count; a repeated
    // cell or row that holds something is there as often as it is repeated.
    void odsComRepeticoes() {
        const QByteArray tabelas =
            "<table:table table:name=\"A\"><table:table-column "
            "table:number-columns-repeated=\"16384\"/>"
            "<table:table-header-rows><table:table-row><table:table-cell "
            "office:value-type=\"string\"><text:p>a<text:s text:c=\"3\"/>b<text:tab/>c<text:span>"
            "!</text:span></text:p><text:p>d</text:p></table:table-cell></table:table-row>"
            "</table:table-header-rows>"
            "<table:table-row table:number-rows-repeated=\"1048000\"><table:table-cell "
            "table:number-columns-repeated=\"16384\"/></table:table-row>"
            "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell "
            "table:number-columns-repeated=\"2\" office:value-type=\"float\" office:value=\"1.5\">"
            "<text:p>1,5</text:p></table:table-cell><table:covered-table-cell/><table:table-cell "
            "office:value-type=\"percentage\" office:value=\"0.25\"/><table:table-cell "
            "table:number-columns-repeated=\"16380\"/></table:table-row>"
            "<table:table-row table:number-rows-repeated=\"572\"><table:table-cell "
            "table:number-columns-repeated=\"16384\"/></table:table-row>"
            "</table:table>"
            "<table:table table:name=\"B\"><table:table-row><table:table-cell "
            "office:value-type=\"string\"><text:p>segunda</text:p></table:table-cell>"
            "</table:table-row></table:table>";
        const QStringList esperado{"1: ta   b\tc!\nd", "1048002: n1,5 | n1,5 | - | n0,25",
                                   "1048003: n1,5 | n1,5 | - | n0,25",
                                   "1048004: n1,5 | n1,5 | - | n0,25"};
        QCOMPARE(descricao(lePrimeiraFolha(zip(ods(tabelas)), QStringLiteral("a.ods"),
                                           FormatoPlanilha::Ods)),
                 esperado);
    }

    // Every file that cannot be read gives one message that names it.
    void recusadas_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<FormatoPlanilha>("formato");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("mensagem"); // a pattern; %1 is the file's path

        const QString naoE = QStringLiteral("O arquivo \"%1\" não é uma planilha ");
        const QString danificada = QStringLiteral("A planilha \"%1\" está danificada: ");
        const QString grande = QStringLiteral("A planilha \"%1\" é grande demais: ");
        const QString senha =
            QStringLiteral("A planilha \"%1\" está protegida por senha: salve-a sem senha no "
                           "programa de planilhas e abra-a de novo.");
        const QByteArray xlsx = fixture(QStringLiteral("debitos.xlsx"));

        QTest::newRow("texto renomeado")
            << "texto.xlsx" << FormatoPlanilha::Xlsx
            << QByteArray("referencia;vencimento;valor\r\n") << naoE + ".xlsx.";
        QTest::newRow("vazio") << "vazio.ods" << FormatoPlanilha::Ods << QByteArray()
                               << naoE + ".ods: o arquivo está vazio.";
        QTest::newRow("truncado") << "truncado.xlsx" << FormatoPlanilha::Xlsx
                                  << xlsx.first(xlsx.size() / 2)
                                  << danificada +
                                         "o arquivo compactado está incompleto ou corrompido.";
        QTest::newRow("membro fora do arquivo")
            << "fora.ods" << FormatoPlanilha::Ods
            << comMembroEm(fixture(QStringLiteral("debitos.ods")), "content.xml", 1 << 20)
            << danificada + "o conteúdo content.xml não pôde ser aberto.";
        QTest::newRow("conteúdos demais")
            << "muitos.xlsx" << FormatoPlanilha::Xlsx << comMembrosContados(xlsx, 60000)
            << grande + "o arquivo compactado tem mais de 10.000 conteúdos.";
        QTest::newRow("soma de verificação")
            << "crc.xlsx" << FormatoPlanilha::Xlsx
            << comCrcTrocado(xlsx, "xl/worksheets/sheet1.xml")
            << danificada + "o conteúdo xl/worksheets/sheet1.xml não confere com a sua soma "
                            "de verificação.";
        QTest::newRow("xlsx com senha") << "senha.xlsx" << FormatoPlanilha::Xlsx
                                        << fixture(QStringLiteral("debitos-senha.xlsx")) << senha;
        QTest::newRow("ods com senha") << "senha.ods" << FormatoPlanilha::Ods
                                       << fixture(QStringLiteral("debitos-senha.ods")) << senha;
        QTest::newRow("formato binário antigo")
            << "antiga.xlsx" << FormatoPlanilha::Xlsx
            << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + QByteArray(504, '\0')
            << naoE + ".xlsx: está num formato binário antigo; salve-a como .xlsx ou .ods no "
                      "programa de planilhas.";
        QTest::newRow("ods com nome de xlsx")
            << "trocada.xlsx" << FormatoPlanilha::Xlsx << fixture(QStringLiteral("debitos.ods"))
            << naoE + ".xlsx: falta o conteúdo xl/workbook.xml.";
        QTest::newRow("xlsx com nome de ods") << "trocada.ods" << FormatoPlanilha::Ods << xlsx
                                              << naoE + ".ods: falta o conteúdo content.xml.";
        QTest::newRow("documento de texto")
            << "texto.ods" << FormatoPlanilha::Ods
            << zip({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text"}})
            << naoE + ".ods: é um documento de outro tipo.";
        QTest::newRow("outro documento do mesmo pacote")
            << "documento.xlsx" << FormatoPlanilha::Xlsx
            << zip({{QStringLiteral("xl/workbook.xml"), "<document/>"}}) << naoE + ".xlsx.";
        QTest::newRow("pasta sem folhas")
            << "sem-folhas.xlsx" << FormatoPlanilha::Xlsx
            << zip({{QStringLiteral("xl/workbook.xml"), "<workbook><sheets/></workbook>"}})
            << naoE + ".xlsx: a pasta de trabalho não tem nenhuma folha.";
        QTest::newRow("ods sem tabela") << "sem-tabela.ods" << FormatoPlanilha::Ods << zip(ods(""))
                                        << naoE + ".ods: não tem nenhuma folha.";

        // A member that expands far beyond the cap (a few kilobytes compressed): refused by
        // its header when that tells the truth; when it lies, the read stops at what it told,
        // and those bytes do not match the member's CRC.
        QByteArray bomba = "<office:document-content><office:body><office:spreadsheet>";
        bomba += QByteArray(65 << 20, ' ');
        const QByteArray zipBomba = zip({{QStringLiteral("content.xml"), bomba}});
        QVERIFY(zipBomba.size() < (1 << 20));
        QTest::newRow("bomba de zip")
            << "bomba.ods" << FormatoPlanilha::Ods << zipBomba
            << grande + "o conteúdo content.xml passa de 64 MiB descompactado.";
        QTest::newRow("bomba de zip que mente o tamanho")
            << "bomba-mentirosa.ods" << FormatoPlanilha::Ods
            << comTamanhoDeclarado(zipBomba, "content.xml", 4096)
            << danificada + "o conteúdo content.xml não confere com a sua soma de verificação.";

        QTest::newRow("linhas preenchidas demais")
            << "linhas.ods" << FormatoPlanilha::Ods
            << zip(ods("<table:table><table:table-row><table:table-cell/></table:table-row>"
                       "<table:table-row table:number-rows-repeated=\"1048576\">"
                       "<table:table-cell office:value-type=\"float\" office:value=\"1\"/>"
                       "</table:table-row></table:table>"))
            << grande + "a primeira folha passa de 1.048.576 linhas.";
        QTest::newRow("células preenchidas demais")
            << "celulas.ods" << FormatoPlanilha::Ods
            << zip(ods("<table:table><table:table-row table:number-rows-repeated=\"100\">"
                       "<table:table-cell table:number-columns-repeated=\"16384\" "
                       "office:value-type=\"float\" office:value=\"1\"/>"
                       "</table:table-row></table:table>"))
            << grande + "a primeira folha passa de 1.048.576 células.";
        QTest::newRow("colunas demais")
            << "colunas.ods" << FormatoPlanilha::Ods
            << zip(ods("<table:table><table:table-row><table:table-cell "
                       "table:number-columns-repeated=\"16384\"/><table:table-cell "
                       "office:value-type=\"string\"><text:p>x</text:p></table:table-cell>"
                       "</table:table-row></table:table>"))
            << grande + "a primeira folha passa de 16.384 colunas.";
        QTest::newRow("repetição inválida")
            << "repeticao.ods" << FormatoPlanilha::Ods
            << zip(ods("<table:table><table:table-row table:number-rows-repeated=\"-3\"/>"
                       "</table:table>"))
            << danificada + "content.xml, linha 1, coluna \\d+: número de repetições inválido: "
                            "\"-3\".";

        QByteArray fundo;
        for (int i = 0; i < 40; ++i)
            fundo += "<a>";
        QTest::newRow("aninhamento profundo")
            << "fundo.ods" << FormatoPlanilha::Ods << zip(ods("<table:table>" + fundo))
            << danificada + "content.xml, linha 1, coluna \\d+: os elementos estão aninhados em "
                            "mais de 32 níveis.";
        QTest::newRow("declaração de tipo")
            << "dtd.xlsx" << FormatoPlanilha::Xlsx
            << zip({{QStringLiteral("xl/workbook.xml"),
                     "<?xml version=\"1.0\"?><!DOCTYPE workbook [<!ENTITY a \"aaaa\">]>"
                     "<workbook/>"}})
            << danificada + "xl/workbook.xml, linha 1, coluna \\d+: declaração DOCTYPE, que "
                            "nenhuma planilha tem.";
        QTest::newRow("xml malformado")
            << "malformado.xlsx" << FormatoPlanilha::Xlsx
            << zip({{QStringLiteral("xl/workbook.xml"), "<workbook><sheets></workbook>"}})
            << danificada + "xl/workbook.xml, linha 1, coluna \\d+: o documento não é XML bem "
                            "formado.";
        QTest::newRow("xml cortado")
            << "cortado.xlsx" << FormatoPlanilha::Xlsx
            << zip({{QStringLiteral("xl/workbook.xml"), "<workbook><sheets>"}})
            << danificada + "xl/workbook.xml, linha 1, coluna \\d+: o documento termina antes do "
                            "fim.";
        QTest::newRow("texto compartilhado inexistente")
            << "indice.xlsx" << FormatoPlanilha::Xlsx
            << xlsxComFolha("<worksheet><sheetData><row><c t=\"s\"><v>3</v></c></row>"
                            "</sheetData></worksheet>")
            << danificada + "xl/f.xml, linha 1, coluna \\d+: a célula aponta um texto "
                            "compartilhado que não existe.";
        QTest::newRow("linhas fora de ordem")
            << "ordem.xlsx" << FormatoPlanilha::Xlsx
            << xlsxComFolha("<worksheet><sheetData><row r=\"5\"><c><v>1</v></c></row>"
                            "<row r=\"3\"><c><v>2</v></c></row></sheetData></worksheet>")
            << danificada + "a linha 3 vem depois da linha 5.";
    }
    void recusadas() {
        QFETCH(QString, nome);
        QFETCH(FormatoPlanilha, formato);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, mensagem);
        const QString caminho = gravaArquivoTeste(fPasta.path(), nome, bytes);
        const QRegularExpression esperada(
            QRegularExpression::anchoredPattern(mensagem.arg(QRegularExpression::escape(caminho))));
        QVERIFY(esperada.isValid());
        try {
            lePrimeiraFolha(caminho, formato);
            QFAIL("lida");
        } catch (const ErroPlanilha& e) {
            QVERIFY2(esperada.match(e.mensagem()).hasMatch(), qPrintable(e.mensagem()));
        }
    }

    // What cannot be read at all is said as every reader of a file says it.
    void ilegiveis() {
        const QString ausente = fPasta.filePath(QStringLiteral("ausente.xlsx"));
        try {
            lePrimeiraFolha(ausente, FormatoPlanilha::Xlsx);
            QFAIL("lida");
        } catch (const ErroEntradaSaida& e) {
            QCOMPARE(e.mensagem(), QStringLiteral("Não foi possível ler o arquivo \"%1\": arquivo "
                                                  "ou pasta inexistente")
                                       .arg(ausente));
        }
        // A device that never ends is read up to the cap, whatever size it reports.
        try {
            lePrimeiraFolha(QStringLiteral("/dev/zero"), FormatoPlanilha::Ods);
            QFAIL("lida");
        } catch (const ErroPlanilha& e) {
            QCOMPARE(e.mensagem(), QStringLiteral("A planilha \"/dev/zero\" é grande demais: o "
                                                  "arquivo passa de 64 MiB."));
        }
    }

    void formatoDeData_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<bool>("data");
        QTest::newRow("14 interno") << 14 << "" << true;
        QTest::newRow("22 interno") << 22 << "" << true;
        QTest::newRow("45 interno") << 45 << "" << true;
        QTest::newRow("47 interno") << 47 << "" << true;
        QTest::newRow("13 interno") << 13 << "" << false;
        QTest::newRow("23 interno") << 23 << "" << false;
        QTest::newRow("48 interno") << 48 << "" << false;
        QTest::newRow("geral") << 164 << "General" << false;
        QTest::newRow("valor") << 165 << "#,##0.00" << false;
        QTest::newRow("dia mês ano") << 166 << "dd/mm/yyyy" << true;
        QTest::newRow("com localidade") << 167 << "[$-416]mmm/yy" << true;
        QTest::newRow("só mês e ano") << 168 << "MM/YYYY" << true;
        QTest::newRow("hora") << 169 << "hh:mm" << true;
        QTest::newRow("tempo decorrido") << 170 << "[h]" << true;
        QTest::newRow("cor") << 171 << "[Red]#,##0.00;[Magenta]-0" << false;
        QTest::newRow("texto entre aspas") << 172 << "0\" dias\"" << false;
        QTest::newRow("letra escapada") << 173 << "0\\d" << false;
        QTest::newRow("espaço da largura") << 174 << "#,##0_m" << false;
        QTest::newRow("moeda") << 175 << "[$R$-416] #,##0.00" << false;
        QTest::newRow("percentual") << 176 << "0.000000\\ %" << false;
        QTest::newRow("científico") << 177 << "0.00E+00" << false;
        QTest::newRow("texto") << 49 << "@" << false;
        // The code the file gives wins over the built-in meaning of its id.
        QTest::newRow("id interno redefinido") << 14 << "0.00" << false;
    }
    void formatoDeData() {
        QFETCH(int, id);
        QFETCH(QString, codigo);
        QFETCH(bool, data);
        QCOMPARE(::formatoDeData(id, codigo), data);
    }

    void extensoes_data() {
        QTest::addColumn<QString>("caminho");
        QTest::addColumn<int>("formato"); // -1: none
        QTest::newRow("csv") << "/tmp/a.csv" << int(FormatoPlanilha::Csv);
        QTest::newRow("maiúsculas") << "/tmp/A.XLSX" << int(FormatoPlanilha::Xlsx);
        QTest::newRow("ods") << "d.ods" << int(FormatoPlanilha::Ods);
        QTest::newRow("só a extensão") << "/tmp/.ods" << -1;
        QTest::newRow("outra") << "/tmp/a.xls" << -1;
        QTest::newRow("sem extensão") << "/tmp/xlsx" << -1;
        QTest::newRow("pasta com ponto") << "/tmp/a.ods/b" << -1;
    }
    void extensoes() {
        QFETCH(QString, caminho);
        QFETCH(int, formato);
        const auto achado = formatoPelaExtensao(caminho);
        QCOMPARE(achado ? int(*achado) : -1, formato);
    }
};

QTEST_GUILESS_MAIN(TesteLeituraPlanilha)
#include "TesteLeituraPlanilha.moc"
