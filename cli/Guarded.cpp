#include "cli/Guarded.h"

#include <exception>
#include <new>

#include "cli/Commands.h"
#include "cli/InputError.h"
#include "headless/PluginResources.h"

namespace cli {

int ReportCurrentError(const char* command, std::ostream& err) {
    err << "pelvaro " << command << ": ";
    try {
        throw;
    } catch (const InputError& error) {
        err << error.what() << "\n";
        return kExitBadInput;
    } catch (const headless::PluginRefused& error) {
        err << error.what() << "\n";
        return kExitBadInput;
    } catch (const JobError& error) {
        err << error.what() << "\n";
        return kExitFailed;
    } catch (const std::bad_alloc&) {
        err << "out of memory\n";
        return kExitFailed;
    } catch (const std::exception& error) {
        err << "internal error: " << error.what() << "\n";
        return kExitFailed;
    } catch (...) {
        err << "internal error: an unknown exception\n";
        return kExitFailed;
    }
}

}  // namespace cli
