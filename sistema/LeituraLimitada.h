#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Reads an open file to its end, keeping at most limite bytes. The read itself stops
// there, whatever size the device reports: a device file such as /dev/zero reports 0 and
// never ends, a file may grow while it is read.
enum class ResultadoLeitura { Completa, GrandeDemais, Falhou };

ResultadoLeitura leAteOLimite(QIODevice& arquivo, qint64 limite, QByteArray& conteudo);

// "16 MiB": a limit as the messages show it.
QString textoLimite(qint64 limite);
