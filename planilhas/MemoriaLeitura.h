#pragma once

// Bytes already in memory read as a device, for QuaZip. A damaged container points its
// reader past its end; QBuffer says so on Qt's log, in English, on standard error. Here a
// position outside the bytes is refused without a word: the reader fails, and the file is
// said to be damaged, in Portuguese, once.

#include <QByteArray>
#include <QIODevice>

class MemoriaLeitura : public QIODevice {
public:
    explicit MemoriaLeitura(QByteArray bytes) : fBytes(std::move(bytes)) {}

    bool open(OpenMode modo) override;
    qint64 size() const override { return fBytes.size(); }
    bool seek(qint64 posicao) override;

protected:
    qint64 readData(char* dados, qint64 maximo) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray fBytes;
};
