#pragma once

// Why an operation failed, in Portuguese, for the messages that name a file, a stream or a
// connection. The operating system, Qt and libcurl word their reasons in English; every
// message of the program takes its reason from here instead.

#include <QString>
#include <QXmlStreamReader>

class QFileDevice;

// An errno value: "não há espaço livre no dispositivo".
QString motivoDoSistema(int codigo);

// The failure a file reports: Qt's own cases (an existing file that may not be written, a
// folder) and the system's reason behind its text.
QString motivoDoArquivo(const QFileDevice& arquivo);

// Why an XML reader stopped.
QString motivoDoXml(QXmlStreamReader::Error erro);
