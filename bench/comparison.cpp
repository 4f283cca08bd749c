#include "comparison.h"

namespace {

QStringList segment_input(const ComparisonInput& in) {
    return {"-ss", in.segmentStart, "-i", in.source, "-t", in.segmentLength};
}

// Appends `filter` to the chain of `option` ("-vf"/"-af"), adding the option when the
// assembly had none.
void add_filter(QStringList& options, const QString& option, const QString& filter) {
    const qsizetype at = options.indexOf(option);
    if (at >= 0 && at + 1 < options.size())
        options[at + 1] += "," + filter;
    else
        options << option << filter;
}

} // namespace

QStringList output_options_of(const QStringList& taskArgs) {
    const qsizetype lastInput = taskArgs.lastIndexOf("-i");
    if (lastInput < 0 || lastInput + 2 > taskArgs.size() - 1)
        return {};
    return taskArgs.mid(lastInput + 2, taskArgs.size() - lastInput - 3);
}

QStringList forward_args(const ComparisonInput& in, const QString& output) {
    return segment_input(in) + in.outputOptions + QStringList{output};
}

QStringList one_command_args(const ComparisonInput& in, const QString& output) {
    QStringList options = in.outputOptions;
    add_filter(options, "-vf", "reverse");
    add_filter(options, "-af", "areverse");
    return segment_input(in) + options + QStringList{output};
}
