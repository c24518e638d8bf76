#pragma once

// Gives every widget of one of our classes the accessible role `papel` and a name worked
// out by `nome` each time a screen reader asks; a decoration (`oculto`) is marked invisible,
// so that screen readers pass over it. Qt's own factory knows none of our
// classes, so the question for them comes here. Called once per class, before any of its
// widgets is first asked about.

#include <QAccessible>

#include <functional>

class QWidget;
struct QMetaObject;

void registraAcessivel(const QMetaObject& classe, QAccessible::Role papel,
                       std::function<QString(const QWidget*)> nome, bool oculto = false);
