#pragma once

#include "platform/FileDialogs.h"

class QtFileDialogs final : public FileDialogs {
public:
    bool showOpen(QWidget* parent, CommonDialog& dialog) override;
    bool showSave(QWidget* parent, CommonDialog& dialog) override;
};
