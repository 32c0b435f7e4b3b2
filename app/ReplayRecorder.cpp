#include "app/ReplayRecorder.h"
#include "assets/ReplayWriter.h"
#include "assets/TraceSink.h"
#include <ctime>

ReplayRecorder::ReplayRecorder(ReplayFolder replayFolder, ReplayHeader replayHeader)
    : folder(std::move(replayFolder)), header(std::move(replayHeader)) {}

ReplayRecorder::~ReplayRecorder() {
    close();
}

void ReplayRecorder::record(const ReplayEvent& event) {
    if (refused)
        return;
    scratch.clear();
    ReplayWriter::appendEvent(event, scratch);
    session += scratch;
    eventSinceStart = true;
    if (!file)
        return;
    std::fwrite(scratch.data(), 1, scratch.size(), file);
    if (event.kind == ReplayEvent::Kind::key && event.down)
        flush();
}

void ReplayRecorder::gameStarts() {
    if (refused || (file && !eventSinceStart))
        return;
    close();
    std::string why;
    if (folder.prepare(why)) {
        // Room for the new one among the kept.
        folder.keepNewest(ReplayFolder::kept - 1);
        fileName = folder.newFile(std::time(nullptr));
        file = fileName.empty() ? nullptr : std::fopen(fileName.c_str(), "wb");
        if (!file)
            why = "no new file could be made there";
    }
    if (!file) {
        ErrorLine() << "Games are not recorded: " << folder.path() << ": " << why;
        refused = true;
        fileName.clear();
        session.clear();
        session.shrink_to_fit();
        return;
    }
    std::string head;
    ReplayWriter::appendHeader(header, head);
    std::fwrite(head.data(), 1, head.size(), file);
    std::fwrite(session.data(), 1, session.size(), file);
    scratch.clear();
    ReplayWriter::appendEvent(ReplayEvent::gameStart(), scratch);
    std::fwrite(scratch.data(), 1, scratch.size(), file);
    std::fflush(file);
    eventSinceStart = false;
}

// A disk that fills up during a game costs one line too; the replay keeps what
// reached it and the game goes on unrecorded.
void ReplayRecorder::flush() {
    if (!file || (std::fflush(file) == 0 && !std::ferror(file)))
        return;
    ErrorLine() << "Games are no longer recorded: " << fileName << " cannot be written";
    close();
    refused = true;
    session.clear();
    session.shrink_to_fit();
}

void ReplayRecorder::close() {
    if (file)
        std::fclose(file);
    file = nullptr;
}
