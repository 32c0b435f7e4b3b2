#pragma once
#include <functional>
#include <sstream>
#include <string>

// The one way out for the game's lines: trace lines to standard output, error
// lines to standard error, each with its newline and flushed at once, since
// whoever reads them (a person, a test, a watching script) reads them as they
// come. Listeners hear every line after it is written; the game is
// single-threaded, and so is the sink.
class TraceSink {
public:
    enum class Stream { out, error };
    using Listener = std::function<void(Stream stream, const std::string& line)>;

    static void write(Stream stream, const std::string& line);

    // Hears every line written while it lives. A quiet listener keeps the lines
    // from the streams meanwhile, so a test can take them without echoing them.
    class Listen {
    public:
        explicit Listen(Listener listener, bool quiet = false);
        ~Listen();
        Listen(const Listen&) = delete;
        Listen& operator=(const Listen&) = delete;

    private:
        friend class TraceSink;
        Listener hear;
        bool silencing;
    };
};

// One line put together with << as on a stream, written when the statement that
// made it ends: TraceLine() << "Explosion()";
class TraceLine {
public:
    explicit TraceLine(TraceSink::Stream to = TraceSink::Stream::out) : stream(to) {}
    ~TraceLine() { TraceSink::write(stream, text.str()); }
    TraceLine(const TraceLine&) = delete;
    TraceLine& operator=(const TraceLine&) = delete;

    template <typename T> TraceLine& operator<<(const T& value) {
        text << value;
        return *this;
    }

private:
    TraceSink::Stream stream;
    std::ostringstream text;
};

// An error line: ErrorLine() << "Unable to open file: " << name;
class ErrorLine : public TraceLine {
public:
    ErrorLine() : TraceLine(TraceSink::Stream::error) {}
};
