// Keeps the renderer library non-empty while its painters are being added.
namespace sondara::render {
int rendererVersion() { return 1; }
}  // namespace sondara::render
