#include "automation/WorkerResult.h"

WorkerResult FailureResultOf(PowerPointCommand command) {
    switch (command) {
        case PowerPointCommand::IsInSlideShow:
        case PowerPointCommand::OpenPresentation:
        case PowerPointCommand::StartSlideShow:
        case PowerPointCommand::ExitSlideShow:
        case PowerPointCommand::NextSlide:
        case PowerPointCommand::PreviousSlide:
        case PowerPointCommand::FirstSlide:
        case PowerPointCommand::LastSlide:
        case PowerPointCommand::ClosePowerPoint:
            return false;
        case PowerPointCommand::GetActivePresentation:
            return std::wstring();
        case PowerPointCommand::GetCurrentSlide:
        case PowerPointCommand::GetSlideCount:
            return std::int32_t{-1};
        case PowerPointCommand::ListPresentations:
            return std::vector<std::wstring>();
    }
    return std::int32_t{0};
}
