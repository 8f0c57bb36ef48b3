#include "headless/HostCore.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#include "headless/PluginResources.h"

namespace headless::detail {

namespace {

// Freed memory held back before it goes back to the allocator.
constexpr std::size_t kQuarantineBudget = std::size_t{16} << 20;

}  // namespace

namespace {

// Aligned-looking values well above null; never reused in the process.
std::atomic<uintptr_t> gNextToken{0x10000};

}  // namespace

uintptr_t NextToken() { return gNextToken.fetch_add(kTokenStep); }

uintptr_t NextTokens(std::size_t count) {
    const uintptr_t span = static_cast<uintptr_t>(count) * kTokenStep;
    const uintptr_t first = gNextToken.fetch_add(span);
    // Running out of values would hand out tokens again; a host cannot go on.
    if (first + span < first) throw std::bad_alloc();
    return first;
}

std::size_t NextKindIndex() {
    static std::atomic<std::size_t> next{0};
    return next.fetch_add(1);
}

uintptr_t KeyTable::Intern(std::string_view text) { return tokens_.Token(texts_.Intern(text)); }

uint32_t KeyTable::Number(uintptr_t key) const {
    const uint32_t number = tokens_.Number(key);
    return number < texts_.Count() ? number : kNoKey;  // reserved is not yet made
}

HostCore::HostCore(Document& doc, uint32_t seed)
    : document(doc),
      random(seed),
      pluginRef(ToRef<PluginRef>(NextToken())),
      quarantine_(kQuarantineBudget) {}

HostCore* gCurrentHost = nullptr;

CurrentScope::CurrentScope(HostCore& core) : previous_(gCurrentHost) { gCurrentHost = &core; }
CurrentScope::~CurrentScope() { gCurrentHost = previous_; }

std::optional<HostErr> HostCore::InjectSet(const Op& op) {
    assert(op.fallible);
    const auto nth = faults.nth.find(fallibleCalls);
    if (nth != faults.nth.end()) {
        const HostErr code = nth->second;
        faults.nth.erase(nth);
        return code;
    }
    const auto named = faults.ops.find(&op);
    if (named != faults.ops.end()) return named->second;
    return std::nullopt;
}

void* HostCore::NewBlock(std::size_t size, std::byte fill) {
    Block block{AllocateBytes(size, fill), size};
    void* address = block.bytes.get();
    Objects<Block>().AddAt(FromRef(address), std::move(block));
    return address;
}

HostErr HostCore::AllocateBlock(int32_t size, void** block) {
    if (size < 0 || block == nullptr) return kBadParameterErr;
    if (static_cast<std::size_t>(size) > kMaxAllocation) return kOutOfMemoryErr;
    *block = NewBlock(static_cast<std::size_t>(size), kFreshBlockFill);
    return kNoErr;
}

HostErr HostCore::FreeBlock(void* address) {
    auto& blocks = Objects<Block>();
    Block* block = blocks.Find(FromRef(address));
    if (block == nullptr) return kBadBlockErr;
    Bytes bytes = std::move(block->bytes);
    const std::size_t size = block->size;
    blocks.Erase(FromRef(address));
    quarantine_.Retire(std::move(bytes), size);
    return kNoErr;
}

HostHandle HostCore::NewHandle(std::size_t size, bool hostOwned) {
    Handle handle;
    handle.block = AllocateBytes(size, std::byte{0});
    handle.cell = AllocateBytes(sizeof(char*), std::byte{0});
    handle.size = size;
    handle.hostOwned = hostOwned;
    char* const master = reinterpret_cast<char*>(handle.block.get());
    std::memcpy(handle.cell.get(), &master, sizeof master);
    const HostHandle result = handle.handle();
    Objects<Handle>().AddAt(FromRef(result), std::move(handle));
    return result;
}

Handle* HostCore::FindHandle(HostHandle handle) { return Objects<Handle>().Find(FromRef(handle)); }

void HostCore::DisposeHandle(HostHandle value) {
    auto& handles = Objects<Handle>();
    Handle* handle = handles.Find(FromRef(value));
    if (handle == nullptr) return;
    Handle gone = std::move(*handle);
    handles.Erase(FromRef(value));
    std::memset(gone.cell.get(), 0, sizeof(char*));  // a stale handle now leads nowhere
    quarantine_.Retire(std::move(gone.block), gone.size);
    quarantine_.Retire(std::move(gone.cell), sizeof(char*));
}

ArtHandle HostCore::ArtFor(std::size_t index) {
    if (index >= TokenRuns::kNone) throw std::bad_alloc();
    return ToRef<ArtHandle>(artTokens_.Token(static_cast<uint32_t>(index)));
}

Art* HostCore::FindArt(ArtHandle handle) {
    const uint32_t index = artTokens_.Number(FromRef(handle));
    if (index == TokenRuns::kNone || index >= document.art.size()) return nullptr;
    if (index >= nextReach_) [[unlikely]]
        ReportReach(index);
    return &document.art[index];
}

void HostCore::WatchArtReached(Host::ArtReached reached) {
    artReached_ = std::move(reached);
    nextReach_ = artReached_ ? 0 : SIZE_MAX;
}

void HostCore::ReportReach(std::size_t index) {
    const std::size_t total = document.art.size();
    nextReach_ = index + std::max<std::size_t>(1, total / 100);
    artReached_(index + 1, total);
}

HostErr HostCore::FindPath(ArtHandle handle, Art** path) {
    Art* art = FindArt(handle);
    if (art == nullptr) return kBadArtErr;
    if (art->type != kPathArt) return kNotPathErr;
    *path = art;
    return kNoErr;
}

void HostCore::LoadPlugin(std::shared_ptr<const ResourceSource> source) {
    if (!source) throw std::invalid_argument("LoadPlugin needs the plug-in's resources");
    try {
        declaration_ = CheckPluginDeclaration(*source);
    } catch (const PluginRefused& refused) {
        refusal_ = refused.what();  // a refused plug-in gets no messages
        resources_.reset();
        throw;
    }
    refusal_.reset();
    resources_ = std::move(source);
}

const std::shared_ptr<const ResourceSource>& HostCore::Resources() {
    if (refusal_) throw PluginRefused(*refusal_);
    if (!resources_)
        throw std::logic_error(
            "the host has no plug-in: call LoadPlugin with the module's resources (for a module "
            "file, ResourcesForModule) before sending it a message");
    return resources_;
}

const Declaration& HostCore::PluginDeclaration() {
    Resources();
    return *declaration_;
}

Holdings HostCore::Held() const {
    Holdings held;
    for (const auto& table : objects_.All())
        held.objects[std::string(table->Kind())] = table->HeldByPlugin();
    const auto count = [&held](const char* kind) {
        const auto it = held.objects.find(kind);
        return it == held.objects.end() ? 0 : it->second;
    };
    held.blocks = count(Block::kKind);
    held.handles = count(Handle::kKind);
    held.dictionaries = count(DictionaryObject::kKind);
    held.arrays = count(ArrayObject::kKind);
    held.strings = count("string");
    for (const auto& [name, n] : suitesHeld)
        if (n != 0) held.suites[name] = n;
    return held;
}

}  // namespace headless::detail
