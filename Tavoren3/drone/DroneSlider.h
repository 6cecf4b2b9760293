#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The participant's rating slider: a question, a value from minimum to
// maximum and a button that sends it.
class DroneSlider : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by DroneScreen.")
    Q_PROPERTY(QString question READ question NOTIFY changed)
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY changed)
    Q_PROPERTY(int minimum READ minimum CONSTANT)
    Q_PROPERTY(int maximum READ maximum CONSTANT)
    Q_PROPERTY(bool sent READ sent NOTIFY changed)
    Q_PROPERTY(QString sendText READ sendText CONSTANT)
    Q_PROPERTY(QString thanksText READ thanksText CONSTANT)

public:
    // The timekeeper shows the last two characters of a rating: at most two digits.
    static constexpr int minimumValue = 0;
    static constexpr int maximumValue = 10;
    static constexpr int startValue = 5;

    explicit DroneSlider(QObject *parent = nullptr);

    QString question() const { return m_question; }
    int value() const { return m_value; }
    void setValue(int value);
    int minimum() const { return minimumValue; }
    int maximum() const { return maximumValue; }
    bool sent() const { return m_sent; }
    QString sendText() const { return QStringLiteral("Send"); }
    QString thanksText() const { return QStringLiteral("Thank you"); }

    // A new question: the slider back in the middle.
    void ask(const QString &question);
    Q_INVOKABLE void send();

signals:
    void changed();
    void rated(int value);

private:
    QString m_question;
    int m_value = startValue;
    bool m_sent = false;
};
