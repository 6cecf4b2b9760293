#pragma once

#include "model/DecodingError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A list of timed exercises, as an exercise file holds it.
struct ExerciseSequence
{
    struct Exercise
    {
        QString name;
        qint64 duration = 0;
        QString imageName;
    };

    QList<Exercise> exercises;

    // The sequence, or why the bytes are not one.
    static std::optional<ExerciseSequence> decode(const QByteArray &bytes, DecodingError *error);
};
