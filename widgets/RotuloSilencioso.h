#pragma once

// A label whose text changes by itself (a clock) and is read only when asked: a screen
// reader is told of no change, and reads the current text whenever it asks.

#include <QLabel>

class RotuloSilencioso : public QLabel {
    Q_OBJECT

public:
    explicit RotuloSilencioso(QWidget* parent = nullptr);
};
