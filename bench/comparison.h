#pragma once
// The two runs a job is compared with, built from what the job itself ran: the same
// source and segment, the same output option text as the job's assembly.
//   forward: the segment transcoded as it is (the floor: one decode, one encode);
//   one command: FFmpeg's own reverse and areverse filters added to the same options.

#include <QString>
#include <QStringList>

// The output option arguments of an assembly's argument list: everything between its
// last input file and its output file.
QStringList output_options_of(const QStringList& taskArgs);

struct ComparisonInput {
    QString source;
    QString segmentStart, segmentLength; // "-ss" and "-t" values of the extraction
    QStringList outputOptions;           // the assembly's
};

QStringList forward_args(const ComparisonInput& in, const QString& output);
QStringList one_command_args(const ComparisonInput& in, const QString& output);
