#pragma once

// The web engine has to know about the process before the application
// object exists (it shares the OpenGL context with Qt Quick). This only
// prepares: no page, profile or helper process is started until a web lock
// screen is shown. Call first thing in a graphical run.
void prepareWebEngine();
