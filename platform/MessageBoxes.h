#pragma once

#include <QString>

class QWidget;

// Style numbers and answers keep the Windows values so handlers read as designed.
namespace MsgStyle {
constexpr int OkCritical = 16;
constexpr int YesNoQuestion = 36;
constexpr int OkWarning = 48;
constexpr int OkInformation = 64;
constexpr int YesNo = 4;
} // namespace MsgStyle

namespace MsgAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgAnswer

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A single carriage return inside text separates two sentences shown on two lines.
    virtual int show(QWidget* parent, const QString& text, const QString& title, int style) = 0;
};
