#pragma once

// The application-wide mouse pointer, kept as at most one override level on the
// application: the default pointer is no override at all.
enum class Ponteiro { Padrao, Ampulheta };

namespace PonteiroMouse {

void define(Ponteiro ponteiro);
Ponteiro atual();

} // namespace PonteiroMouse
