#pragma once

#include <QTranslator>

// Makes the captions Qt puts on its own standard buttons (dialog button boxes, message
// boxes built elsewhere) read as the standard-text table says now. Install it once
// on the application; other texts pass through untouched.
class TradutorTextosPadrao : public QTranslator {
    Q_OBJECT

public:
    using QTranslator::QTranslator;
    QString translate(const char* contexto, const char* origem, const char* desambiguacao,
                      int n) const override;
    bool isEmpty() const override { return false; }
};
