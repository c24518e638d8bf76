#pragma once

// The application-wide mouse pointer, one setting for the whole program as on the
// desktop: a single override level on QGuiApplication, never stacked. Without a GUI
// application (command line, tests without a display) both calls do nothing.
namespace PonteiroMouse {

void mostraAmpulheta();
// Back to each window's own pointer.
void restauraPadrao();
bool ampulhetaAtiva();

} // namespace PonteiroMouse
