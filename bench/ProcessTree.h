#pragma once

#include <QString>
#include <QtGlobal>

#include <map>

// What a browser's process tree holds, read from /proc: the proportional set
// size (PSS) of each kind of process and the CPU time the tree has used. A
// process counts as one of the tree when `root` is among its ancestors.
struct SProcessTreeMemory
{
    // PSS in kB by kind: "browser" (the root itself), "renderer", "gpu",
    // "utility", "zygote" (Chromium's process starters), "other".
    std::map<QString, long> pssKbByKind;
    // How many processes of each kind.
    std::map<QString, int> countByKind;
    // Qt WebEngine processes outside the tree (another program's): pages of
    // the libraries they share with the tree count only in part in its PSS.
    int outsideEngineProcesses = 0;
    long TotalKb() const;
};

SProcessTreeMemory ReadTreeMemory(qint64 root);

// User and system CPU time of the tree's live processes, in seconds.
double TreeCpuSeconds(qint64 root);

// CPU time the calling thread has used, in ms.
double ThreadCpuMs();
