#pragma once

#include <QByteArray>
#include <QString>

// No real document nests its elements more than a few levels (the rate document three,
// the table file and the service answer four), while the time to build a tree grows with
// the square of the depth. Deeper documents are refused before a tree is built.
constexpr int ProfundidadeMaximaXml = 32;

// Whether no element lies deeper than the limit. The scan stops at the first element past
// it, so it costs at most the text up to there. A text that is not well-formed passes: the
// parser words that failure itself.
bool aninhamentoAceitavel(const QByteArray& texto);
bool aninhamentoAceitavel(const QString& texto);

// "os elementos estão aninhados em mais de 32 níveis"
QString textoAninhamentoExcessivo();
