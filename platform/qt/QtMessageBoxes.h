#pragma once

#include "platform/MessageBoxes.h"

class QtMessageBoxes final : public MessageBoxes {
public:
    int show(QWidget* parent, const QString& text, const QString& title, int style) override;
};
