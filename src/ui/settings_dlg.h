#pragma once

class QWidget;

// Runs the settings dialog modally over the parent (the main window's Tools, Settings and its
// toolbar button). True when it ended with OK: the settings are then written back into the
// core's groups and the user's options into the user's database.
bool RunSettingsDialog(QWidget* parent);
