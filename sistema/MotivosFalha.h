#pragma once

// Why an operation failed, in Portuguese, for the messages that name a file, a stream or a
// connection. The operating system, Qt and libcurl word their reasons in English; every
// message of the program takes its reason from here instead.

#include <QString>
#include <QXmlStreamReader>

class QIODevice;
class QProcess;

// An errno value: "não há espaço livre no dispositivo".
QString motivoDoSistema(int codigo);

// The failure a file reports: Qt's own cases (an existing file that may not be written, a
// folder) and the system's reason behind its text. Any other device gives the system's
// reason behind its text, or the text itself.
QString motivoDoArquivo(const QIODevice& arquivo);

// Why a program did not start: the system's reason Qt reports after the call it made.
QString motivoDoProcesso(const QProcess& processo);

// Why an XML reader stopped.
QString motivoDoXml(QXmlStreamReader::Error erro);
