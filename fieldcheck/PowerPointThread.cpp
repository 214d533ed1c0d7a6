#include "fieldcheck/PowerPointThread.h"

PowerPointThread::PowerPointThread() : deck(std::make_shared<std::optional<PowerPointDeck>>()) {
    thread.Start([deck = deck](bool) { deck->emplace(); }, [deck = deck] { deck->reset(); });
}
