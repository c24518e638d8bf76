#pragma once

#include <QString>

// The framework's utility class: class-level operations only, never instantiated.
class TNURUtils {
public:
    TNURUtils() = delete;

    // A non-empty text shows the status window with it (creating the window and setting the
    // hourglass when there is none); an empty one removes the window and restores the pointer.
    static void MostraStatus(const QString& Mensagem);
};
