#pragma once
// What every start of the program sets up once the QApplication exists:
// its name and version, the look, and a clean close on a termination signal.

class QApplication;

void setUpApplication(QApplication& app);
