#include "tasks/ExerciseSequence.h"

#include "model/JsonDecoding.h"

using namespace JsonDecoding;

namespace {

ExerciseSequence::Exercise decodeExercise(const Json &value, const Path &path)
{
    const Keyed keys(value, path);
    return {keys.required("name", string), keys.required("duration", integer), keys.required("imageName", string)};
}

} // namespace

std::optional<ExerciseSequence> ExerciseSequence::decode(const QByteArray &bytes, DecodingError *error)
{
    try {
        const Json root = parse(bytes);
        const Keyed keys(root, {});
        const auto list = [](const Json &v, const Path &p) { return array(v, p, decodeExercise); };
        return ExerciseSequence{keys.required("exercises", list)};
    } catch (const DecodingFailure &failure) {
        *error = failure.error;
        return std::nullopt;
    }
}
