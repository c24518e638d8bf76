#pragma once

// Files as Brazilian spreadsheets save them: fields separated by ";", a field in double
// quotes may hold ";", quotes (doubled) and line breaks; rows end with CR LF or LF.
// Read as a stream, one row at a time, so a file of any length takes the same memory.
// Formats that keep every row to one line are read by the same rules (AspasCsv).

#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <string>
#include <string_view>

class ArquivoSaida;
class QIODevice;
class QTextStream;

// One row: each field's text exactly as it stood in the file, quotes included, and its
// value with the quoting taken off.
struct LinhaCsv {
    QStringList brutos;
    QStringList valores;
    qsizetype numero = 0; // physical line where the row starts, from 1
    // The physical line of a quote that the data never closes (or not within MaximoLinha),
    // 0 when every quote closed. Such a row ends with that line: its last field runs from
    // the field's start to the line's end, and the next row starts on the line after it.
    qsizetype aspaAberta = 0;
};

// Whether a quoted field may hold line breaks, as spreadsheets write them, so that a row
// runs over several lines; or every row is one line, and a quote still open at the end of
// its line is one never closed (LinhaCsv::aspaAberta), whatever the lines after it hold.
enum class AspasCsv { AtravessamLinhas, FechamNaLinha };

class LeitorCsv {
public:
    // A row longer than this is refused: no spreadsheet row comes near it, and a file
    // without line breaks (a device, a binary) must not fill the memory.
    static constexpr qsizetype MaximoLinha = 1 << 20;

    // Decides the encoding from the start of the data: UTF-8 (with or without a byte-order
    // mark) when it is valid UTF-8, Windows-1252 otherwise. A file is checked whole; a
    // stream (standard input) on what it holds at first.
    LeitorCsv(QIODevice& origem, QString nome, AspasCsv aspas = AspasCsv::AtravessamLinhas);
    // The rows of a text already in memory, as it stands: no encoding to decide, no
    // byte-order mark taken off, no read to fail, and no row too long, the memory being
    // spent already.
    explicit LeitorCsv(QString texto, AspasCsv aspas = AspasCsv::AtravessamLinhas);

    // The next row that holds anything; false at the end. Empty rows and rows of
    // separators only are skipped. Throws ErroEntradaSaida on a read failure or a line
    // longer than MaximoLinha; a quote left open is not a failure of the reading but of its
    // row (LinhaCsv::aspaAberta).
    bool proxima(LinhaCsv& linha);
    // The next row whatever it holds: an empty line is a row of one empty field.
    bool proximaMesmoVazia(LinhaCsv& linha);

    bool windows1252() const { return fWindows1252; }
    // The bytes of the data that the rows read so far took, empty and skipped rows
    // included: all of it once proxima has said there is no more.
    qint64 bytesConsumidos();

private:
    bool preenche();
    void contaConsumidos();
    // Asked for every character: the text at hand answers inline.
    bool disponivel(qsizetype i) { return i < fTexto.size() || preencheAte(i); }
    bool preencheAte(qsizetype i);

    QIODevice* fOrigem = nullptr; // none for a text in memory
    QString fNome;
    AspasCsv fAspas;
    qsizetype fMaximoLinha = MaximoLinha;
    bool fWindows1252 = false;
    QStringDecoder fUtf8{QStringDecoder::Utf8};
    QString fTexto;
    qsizetype fPos = 0;
    bool fFim = false;
    bool fInicio = true;
    // The bytes of the text before fContado, counted once: up to there the rows are read.
    qint64 fBytesConsumidos = 0;
    qsizetype fContado = 0;
    qsizetype fLinhaFisica = 1;
    QString fValor; // a quoted field's value while it is gathered
};

// "A aspa aberta na linha N não foi fechada.": why a row whose quote never closed
// (LinhaCsv::aspaAberta) is not read.
QString textoAspaAberta(qsizetype linha);

// Rows out: to a file as UTF-8 with a byte-order mark and CR LF (what a spreadsheet opens
// correctly), or to standard output as plain lines.
class EscritorCsv {
public:
    // To a file: bytes go to it in blocks.
    explicit EscritorCsv(ArquivoSaida& destino);
    // To standard output.
    explicit EscritorCsv(QTextStream& saida);

    // One field already in file form; fields of a row are joined by ";".
    void campo(QStringView texto);
    // One value as a field: in quotes, with quotes doubled, when it holds ";", a quote or
    // a line break; written without a copy of its own.
    void valor(QStringView texto);
    void fimDaLinha();
    // Sends what is buffered; throws ErroEntradaSaida, naming the file, when it refuses it.
    // Standard output that refuses it ends the rows with AbortoSilencioso: the command line
    // says so once, at its end, for every command alike.
    void descarrega();

private:
    ArquivoSaida* fDestino = nullptr;
    QTextStream* fSaida = nullptr;
    std::u16string_view fFimLinha;
    // A plain buffer: every field of every row is appended to it.
    std::u16string fTexto;
    bool fBom = false;
    bool fPrimeiroDaLinha = true;
};
