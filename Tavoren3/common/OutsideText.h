#pragma once

#include <QString>

// Text that came from outside (a peer's name, a message), made safe to put
// into one line of a log or a label file.
class OutsideText
{
public:
    // Each control character and line or paragraph separator written out as
    // \xNN (\uNNNN), so that the text stays on one line and shows what came.
    static QString printable(const QString &text);
};
