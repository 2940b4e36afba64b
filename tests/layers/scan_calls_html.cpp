// Must not build: code linked with the scan layer alone cannot reach an html stage, even when it
// declares the function itself instead of including its header.
namespace sylva {
struct PageJob;
void WritePages(PageJob& job);
}  // namespace sylva

void (*volatile stage)(sylva::PageJob&) = &sylva::WritePages;

int main() {
    return stage == nullptr ? 1 : 0;
}
