#include "drone/DroneSlider.h"

DroneSlider::DroneSlider(QObject *parent) : QObject(parent) {}

void DroneSlider::setValue(int value)
{
    value = std::clamp(value, minimumValue, maximumValue);
    if (value == m_value)
        return;
    m_value = value;
    emit changed();
}

void DroneSlider::ask(const QString &question)
{
    m_question = question;
    m_value = startValue;
    m_sent = false;
    emit changed();
}

void DroneSlider::send()
{
    m_sent = true;
    emit changed();
    emit rated(m_value);
}
