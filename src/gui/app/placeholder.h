#pragma once

#include <QWidget>

class Document;

// Shows the start-up state until the main window exists.
class StartupStateView : public QWidget {
public:
    explicit StartupStateView(const Document& doc, QWidget* parent = nullptr);
};
