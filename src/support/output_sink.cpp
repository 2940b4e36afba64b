#include "support/output_sink.h"

#include "support/file_output.h"

namespace sylva {

namespace {

class DirectStream : public OutputStream {
  public:
    explicit DirectStream(const std::string& path)
        : openFailed_(file_.Open(path).code() == Status::Code::kOpenFailed) {}
    void Append(std::string_view text) override { file_.Append(text); }
    void AppendDated(std::string_view dated, std::string_view) override { file_.Append(dated); }
    Status Close() override { return file_.Close(); }
    bool OpenFailed() const override { return openFailed_; }

  private:
    BufferedOutputFile file_;
    bool openFailed_;
};

class DirectSink : public OutputSink {
  public:
    Status Write(const std::string& path, const OutputText& text, OutputKind) override {
        return WriteWholeFile(path, text.bytes);
    }
    std::unique_ptr<OutputStream> Open(const std::string& path, OutputKind) override {
        return std::make_unique<DirectStream>(path);
    }
};

}  // namespace

OutputSink& DirectOutput() {
    static DirectSink sink;
    return sink;
}

}  // namespace sylva
