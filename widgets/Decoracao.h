#pragma once

// A label that only decorates (a row of dots): a screen reader passes over it, as it is
// marked invisible and has no name.

#include <QLabel>

class Decoracao : public QLabel {
    Q_OBJECT

public:
    explicit Decoracao(QWidget* parent = nullptr);
};
