// SdlGraphics.cpp -- the OpenGL 3.3 core graphics device: textures, the sprite batch and its
// shader, the back buffer the frames are drawn into, the render thread that draws them, and
// reading a frame back.
//
// Frames are drawn into a frame buffer of our own, the size the renderer asks for; presenting
// copies it into the window. So a frame can always be read back (also when the window is covered
// or offscreen), and the back buffer follows a display-mode switch even on SDL's offscreen
// driver, whose surface keeps the size the window was created with.
//
// A frame is recorded on the game thread: each DrawQuad puts its four corners, already placed,
// into the frame's vertex array, and consecutive quads sharing a texture form a run. EndFrame
// hands the recorded frame to the render thread and returns at once; the render thread uploads
// the vertices once, draws each run with one call over a fixed index buffer, and presents. The
// driver's work (on a software rasteriser mostly the triangle set-up inside the draw calls) so
// overlaps the game's next frame. Primitives of one call are blended in order, so this gives the
// picture drawing the quads one by one would.
//
// The context is current on one thread at a time. The render thread makes it current for each
// frame and gives it back before reporting the frame done; every other entry that calls OpenGL
// first waits for that and then makes the context current on the game thread, which gives it up
// again when it hands over the next frame. Two frame arrays take turns, so the game records one
// frame while the render thread draws the other.
#define GL_GLEXT_PROTOTYPES 1  // declarations only: every function is fetched at run time
#include "SdlGraphics.h"

#include <SDL_opengl.h>

#include <cassert>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "MemoryTexture.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>  // dlopen: pinning the driver's libraries (below)
#include <link.h>   // dl_iterate_phdr
#endif

namespace Platform {

namespace {

// The OpenGL functions the device uses, fetched through SDL_GL_GetProcAddress (no GL library is
// linked; SDL loads the one the video driver needs).
// clang-format off
#define CALVORA_GL_FUNCTIONS(X) \
  X(glActiveTexture) X(glAttachShader) X(glBindBuffer) X(glBindFramebuffer) \
  X(glBindRenderbuffer) X(glBindTexture) X(glBindVertexArray) \
  X(glBlendFuncSeparate) X(glBlitFramebuffer) X(glBufferData) \
  X(glCheckFramebufferStatus) X(glClear) X(glClearColor) X(glCompileShader) \
  X(glCreateProgram) X(glCreateShader) X(glDeleteBuffers) X(glDeleteFramebuffers) \
  X(glDeleteProgram) X(glDeleteRenderbuffers) X(glDeleteShader) X(glDeleteTextures) \
  X(glDeleteVertexArrays) X(glDisable) X(glDrawElementsBaseVertex) X(glEnable) \
  X(glEnableVertexAttribArray) X(glFinish) X(glFlush) X(glFramebufferRenderbuffer) \
  X(glGenBuffers) X(glGenFramebuffers) X(glGenRenderbuffers) X(glGenTextures) \
  X(glGenVertexArrays) X(glGetError) X(glGetIntegerv) X(glGetProgramInfoLog) \
  X(glGetProgramiv) X(glGetShaderInfoLog) X(glGetShaderiv) X(glGetUniformLocation) \
  X(glLinkProgram) X(glPixelStorei) X(glReadPixels) X(glRenderbufferStorage) \
  X(glShaderSource) X(glTexImage2D) X(glTexParameteri) X(glUniform1i) \
  X(glUniform2f) X(glUseProgram) X(glVertexAttribPointer) X(glViewport)
// clang-format on

struct TGl {
#define CALVORA_GL_MEMBER(Name) decltype(&::Name) Name = nullptr;
  CALVORA_GL_FUNCTIONS(CALVORA_GL_MEMBER)
#undef CALVORA_GL_MEMBER

  // Fetches every function from the current context; returns the name of the first one
  // missing, or nullptr when all are there.
  const char* Load() {
#define CALVORA_GL_LOAD(Name)                                            \
  Name = reinterpret_cast<decltype(Name)>(SDL_GL_GetProcAddress(#Name)); \
  if (!Name) return #Name;
    CALVORA_GL_FUNCTIONS(CALVORA_GL_LOAD)
#undef CALVORA_GL_LOAD
    return nullptr;
  }
};

#if defined(__SANITIZE_ADDRESS__)
// The leak check of AddressSanitizer runs at exit, when the OpenGL driver has been unloaded: its
// allocations could then not be told from ours, nor matched by Tests/lsan.supp. So in such builds
// every library loaded by now (the driver and what it pulled in) stays loaded to the end.
void PinLoadedLibraries() {
  std::vector<std::string> Names;
  dl_iterate_phdr(
      [](dl_phdr_info* Info, std::size_t, void* Found) {
        if (Info->dlpi_name && *Info->dlpi_name)
          static_cast<std::vector<std::string>*>(Found)->push_back(Info->dlpi_name);
        return 0;
      },
      &Names);
  for (const std::string& Name : Names)
    dlopen(Name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}
#endif

// Quads drawn by one call at most (their indices, counted from the run's first corner, must fit
// 16 bits).
constexpr int kMaxBatch = 4096;
static_assert(kMaxBatch * 4 <= 65536);

// One corner as the shader reads it: placed in the virtual screen (y up), its texture
// coordinates, and the sprite's colour as stored (0xAARRGGBB, little-endian bytes B, G, R, A).
struct TVertex {
  float X, Y, U, V;
  std::uint32_t Color;
};
static_assert(sizeof(TVertex) == 20);

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 Position;
layout(location = 1) in vec2 TexCoord;
layout(location = 2) in vec4 Color;  // B, G, R, A as stored
uniform vec2 ViewScale;
out vec2 FragTexCoord;
flat out vec4 FragColor;  // one colour per quad: no interpolation to set up
void main() {
  gl_Position = vec4(Position * ViewScale, 0.0, 1.0);
  FragTexCoord = TexCoord;
  FragColor = Color.zyxw;
}
)";

// An alpha that would be stored as 1 of 255 or less is dropped, as the alpha test does.
const char* const kFragmentShader = R"(#version 330 core
in vec2 FragTexCoord;
flat in vec4 FragColor;
uniform sampler2D Picture;
out vec4 Result;
void main() {
  vec4 Texel = texture(Picture, FragTexCoord) * FragColor;
  if (Texel.a < 1.5 / 255.0) discard;
  Result = Texel;
}
)";

// The first line of a compiler's or linker's log (the error log keeps one line per failure).
std::string FirstLine(const std::string& Log) {
  std::string Line = Log.substr(0, Log.find('\n'));
  while (!Line.empty() && (Line.back() == '\r' || Line.back() == ' '))
    Line.pop_back();
  return Line;
}

// A run of quads drawn with one call: one texture, at most the batch limit.
struct TRun {
  GLuint Texture;
  int FirstQuad;
  int Quads;
};

// A frame as the game thread recorded it: every quad's corners, its runs, and the view to draw
// them in. The arrays keep their room from frame to frame, so steady frames allocate nothing.
struct TRecordedFrame {
  std::vector<TVertex> Vertices;  // the first Quads * 4 are this frame's, the rest is room
  std::vector<TRun> Runs;
  int Quads = 0;
  int BufferWidth = 0;  // the back buffer
  int BufferHeight = 0;
  float ScaleX = 0.0f;  // virtual units to clip space
  float ScaleY = 0.0f;
  int DrawableWidth = 0;  // the window's, when the frame is shown in one
  int DrawableHeight = 0;

  void Clear() {
    Quads = 0;
    Runs.clear();
  }
};

// Work for the render thread: a frame to draw and present, then, when asked, waiting until the
// graphics card has done everything.
struct TRenderJob {
  const TRecordedFrame* Frame = nullptr;
  bool Finish = false;
};

using TClock = std::chrono::steady_clock;

// The hand-over between the game thread and the render thread, one job at a time: the game
// thread hands a job over only while the render thread is idle, and what the job points to is
// the render thread's until it reports the job done. Every field is guarded by Mutex.
class TRenderQueue : public TFrameQueue {
 public:
  // -- Game thread -------------------------------------------------------------------------------
  void WaitIdle() override {
    std::unique_lock Lock(Mutex);
    Idle.wait(Lock, [this] { return !Busy; });
  }

  // Hands Next over; the render thread must be idle (after WaitIdle).
  void Hand(const TRenderJob& Next) {
    {
      std::lock_guard Lock(Mutex);
      assert(!Busy && "one job at a time");
      Job = Next;
      Pending = Busy = true;
    }
    Wake.notify_one();
  }

  // The first failure of the render thread since the last call; empty when there was none.
  std::string TakeFailure() {
    std::lock_guard Lock(Mutex);
    return std::exchange(Failure, std::string());
  }

  double LastFrameSeconds() const {
    std::lock_guard Lock(Mutex);
    return FrameSeconds;
  }

  // Lets the render thread end once it has done the job it has.
  void Stop() {
    {
      std::lock_guard Lock(Mutex);
      Stopping = true;
    }
    Wake.notify_one();
  }

  // -- Render thread -----------------------------------------------------------------------------
  // Waits for the next job; false when the thread is to end.
  bool Take(TRenderJob& Next) {
    std::unique_lock Lock(Mutex);
    Wake.wait(Lock, [this] { return Pending || Stopping; });
    if (!Pending) return false;
    Pending = false;
    Next = Job;
    return true;
  }

  // Reports the job taken last as done: its failure (empty when none) and, for a frame, the
  // seconds it took.
  void Done(std::string JobFailure, double Seconds, bool WasFrame) {
    {
      std::lock_guard Lock(Mutex);
      if (Failure.empty()) Failure = std::move(JobFailure);
      if (WasFrame) FrameSeconds = Seconds;
      Busy = false;
    }
    Idle.notify_all();
  }

 private:
  mutable std::mutex Mutex;
  std::condition_variable Wake;  // a job or the stop is there
  std::condition_variable Idle;  // the job is done
  TRenderJob Job;
  bool Pending = false;  // Job is handed over and not yet taken
  bool Busy = false;     // Job is handed over and not yet done
  bool Stopping = false;
  std::string Failure;
  double FrameSeconds = 0.0;
};

class TSdlGraphicsDevice;

// A texture: its memory in its own format, and an OpenGL texture holding it as RGBA.
class TGlTexture : public TMemoryTexture {
 public:
  TGlTexture(TSdlGraphicsDevice& Device, int Width, int Height, TTextureFormat Format);
  ~TGlTexture() override;
  GLuint Name = 0;

 protected:
  void Upload(std::vector<std::uint8_t>& Rgba) override;

 private:
  TSdlGraphicsDevice& Device;
};

class TSdlGraphicsDevice : public TGraphicsDevice {
 public:
  TSdlGraphicsDevice(SDL_Window* Window, bool Headless, int MaxBatchQuads);
  ~TSdlGraphicsDevice() override;
  TSdlGraphicsDevice(const TSdlGraphicsDevice&) = delete;
  TSdlGraphicsDevice& operator=(const TSdlGraphicsDevice&) = delete;

  bool AnySizeTextures() const override { return true; }
  std::unique_ptr<TDeviceTexture> CreateTexture(int Width, int Height,
                                                TTextureFormat Format) override;
  void SetView(int PixelWidth, int PixelHeight, float ViewWidth, float ViewHeight) override;
  bool CheckDevice() override;
  void BeginFrame() override;
  void DrawQuad(const TQuad& Quad) override;
  bool EndFrame() override;
  std::vector<std::uint8_t> ReadFrame(int& Width, int& Height) override;
  void Finish() override;
  TDeviceTimings Timings() const override { return {Queue->LastFrameSeconds()}; }

  std::weak_ptr<TFrameQueue> FrameQueue() const { return Queue; }

  // -- For the textures (game thread) ----------------------------------------------------------
  TGl Gl;
  int MaxTextureSize = 0;
  int LiveTextures = 0;
  // Waits until the render thread is idle, then makes the device's context the current one on
  // the calling (game) thread: every OpenGL call outside the render thread comes after this.
  void MakeCurrent() {
    Queue->WaitIdle();
    if (SDL_GL_GetCurrentContext() != Context) SDL_GL_MakeCurrent(Window, Context);
  }

 private:
  // Set up before the render thread starts and left alone until it has ended: read by both.
  SDL_Window* Window;
  SDL_GLContext Context = nullptr;
  bool FunctionsLoaded = false;
  bool Headless;
  int BatchLimit;
  GLuint Program = 0;
  GLint ViewScaleUniform = -1;
  GLuint VertexArray = 0;
  GLuint VertexBuffer = 0;
  GLuint IndexBuffer = 0;
  GLuint FrameBuffer = 0;
  GLuint ColorBuffer = 0;
  std::shared_ptr<TRenderQueue> Queue = std::make_shared<TRenderQueue>();
  std::thread RenderThread;

  // The game thread's own.
  int BufferWidth = 0;  // the back buffer as it is
  int BufferHeight = 0;
  int WantedWidth = 1;  // the back buffer as asked for
  int WantedHeight = 1;
  float ScaleX = 2.0f / 1280.0f;  // virtual units to clip space
  float ScaleY = 2.0f / 800.0f;
  TRecordedFrame Frames[2];  // one recorded while the render thread may draw the other
  TRecordedFrame* Recording = &Frames[0];

  void Release();
  GLuint CompileShader(GLenum Kind, const char* Source);
  void BuildProgram();
  void BuildBuffers();
  // Makes the back buffer WantedWidth x WantedHeight; false when it cannot be made.
  bool ResizeBackBuffer();
  // Gives the context up on the game thread, so that the render thread can make it current.
  void ReleaseContextOnGameThread();
  void StopRenderThread();
  // The render thread's failure since the last call, written out; false when there was one.
  bool NoRenderFailure();

  // -- Render thread ---------------------------------------------------------------------------
  void RenderLoop();
  // Runs Job with the context current on this thread; the failure, or an empty string.
  std::string RunJob(const TRenderJob& Job);
  void DrawFrame(const TRecordedFrame& Frame);
  void Present(const TRecordedFrame& Frame);
};

// ---- Textures ----

TGlTexture::TGlTexture(TSdlGraphicsDevice& Owner, int Width, int Height, TTextureFormat Format)
    : TMemoryTexture(Width, Height, Format, Owner.MaxTextureSize), Device(Owner) {
  Device.MakeCurrent();
  TGl& Gl = Device.Gl;
  Gl.glGetError();
  Gl.glGenTextures(1, &Name);
  Gl.glBindTexture(GL_TEXTURE_2D, Name);
  Gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  Gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  Gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  Gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  Gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  // The storage now, so that a texture too big for the card fails here and not when drawn.
  Gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, Width, Height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  if (Name == 0 || Gl.glGetError() != GL_NO_ERROR) {
    if (Name != 0) Gl.glDeleteTextures(1, &Name);
    throw EGraphicsError("Failed to create texture");
  }
  ++Device.LiveTextures;
}

// Waiting first (in MakeCurrent) keeps a texture alive until the frames using it are drawn.
TGlTexture::~TGlTexture() {
  Device.MakeCurrent();
  Device.Gl.glDeleteTextures(1, &Name);
  --Device.LiveTextures;
}

void TGlTexture::Upload(std::vector<std::uint8_t>& Rgba) {
  Device.MakeCurrent();
  TGl& Gl = Device.Gl;
  Gl.glBindTexture(GL_TEXTURE_2D, Name);
  Gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  Gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, Width(), Height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                  Rgba.data());
}

// ---- The device ----

TSdlGraphicsDevice::TSdlGraphicsDevice(SDL_Window* GameWindow, bool IsHeadless, int MaxBatchQuads)
    : Window(GameWindow),
      Headless(IsHeadless),
      BatchLimit(MaxBatchQuads > 0 && MaxBatchQuads < kMaxBatch ? MaxBatchQuads : kMaxBatch) {
  PrepareOpenGlWindow();
  Context = SDL_GL_CreateContext(Window);
  if (!Context)
    throw EUnsupportedGraphics(std::string("Failed to create an OpenGL 3.3 core context (") +
                               SDL_GetError() + ")");
#if defined(__SANITIZE_ADDRESS__)
  PinLoadedLibraries();
#endif
  try {
    SDL_GL_MakeCurrent(Window, Context);
    if (const char* Missing = Gl.Load())
      throw EUnsupportedGraphics(std::string("Failed to get the OpenGL 3.3 functions (") + Missing +
                                 ")");
    FunctionsLoaded = true;
    // A real window shows frames at the display's pace, so the loop does not spin the CPU;
    // where the driver offers no synchronisation the loop simply runs free.
    if (!Headless) SDL_GL_SetSwapInterval(1);
    Gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &MaxTextureSize);
    BuildProgram();
    BuildBuffers();
    if (!ResizeBackBuffer()) throw EGraphicsError("Failed to create frame buffer");
    for (TRecordedFrame& Frame : Frames) {
      Frame.Vertices.resize(static_cast<std::size_t>(kMaxBatch) * 4);
      Frame.Runs.reserve(256);
    }
    // Fixed states: no culling, depth or stencil; source-alpha blending that keeps the back
    // buffer opaque.
    Gl.glDisable(GL_CULL_FACE);
    Gl.glDisable(GL_DEPTH_TEST);
    Gl.glDisable(GL_STENCIL_TEST);
    Gl.glEnable(GL_BLEND);
    Gl.glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    Gl.glActiveTexture(GL_TEXTURE0);
    Gl.glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    Gl.glClear(GL_COLOR_BUFFER_BIT);
    try {
      RenderThread = std::thread(&TSdlGraphicsDevice::RenderLoop, this);
    } catch (const std::system_error&) {
      throw EGraphicsError("Failed to start the render thread");
    }
  } catch (...) {
    Release();
    throw;
  }
}

TSdlGraphicsDevice::~TSdlGraphicsDevice() {
  assert(LiveTextures == 0 && "textures must be freed before their graphics device");
  StopRenderThread();
  NoRenderFailure();  // a last frame's failure is still written out
  Release();
}

void TSdlGraphicsDevice::StopRenderThread() {
  if (!RenderThread.joinable()) return;
  Queue->Stop();
  RenderThread.join();
}

void TSdlGraphicsDevice::Release() {
  if (!Context) return;
  MakeCurrent();
  if (FunctionsLoaded) {
    Gl.glDeleteProgram(Program);
    Gl.glDeleteBuffers(1, &VertexBuffer);
    Gl.glDeleteBuffers(1, &IndexBuffer);
    Gl.glDeleteVertexArrays(1, &VertexArray);
    Gl.glDeleteFramebuffers(1, &FrameBuffer);
    Gl.glDeleteRenderbuffers(1, &ColorBuffer);
  }
  SDL_GL_MakeCurrent(Window, nullptr);
  SDL_GL_DeleteContext(Context);
  Context = nullptr;
}

GLuint TSdlGraphicsDevice::CompileShader(GLenum Kind, const char* Source) {
  GLuint Shader = Gl.glCreateShader(Kind);
  Gl.glShaderSource(Shader, 1, &Source, nullptr);
  Gl.glCompileShader(Shader);
  GLint Compiled = GL_FALSE;
  Gl.glGetShaderiv(Shader, GL_COMPILE_STATUS, &Compiled);
  if (Compiled != GL_TRUE) {
    char Log[512] = {};
    Gl.glGetShaderInfoLog(Shader, sizeof(Log) - 1, nullptr, Log);
    Gl.glDeleteShader(Shader);
    throw EUnsupportedGraphics("Failed to compile the sprite shader (" + FirstLine(Log) + ")");
  }
  return Shader;
}

void TSdlGraphicsDevice::BuildProgram() {
  GLuint Vertex = CompileShader(GL_VERTEX_SHADER, kVertexShader);
  GLuint Fragment = 0;
  try {
    Fragment = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader);
  } catch (...) {
    Gl.glDeleteShader(Vertex);
    throw;
  }
  Program = Gl.glCreateProgram();
  Gl.glAttachShader(Program, Vertex);
  Gl.glAttachShader(Program, Fragment);
  Gl.glLinkProgram(Program);
  Gl.glDeleteShader(Vertex);
  Gl.glDeleteShader(Fragment);
  GLint Linked = GL_FALSE;
  Gl.glGetProgramiv(Program, GL_LINK_STATUS, &Linked);
  if (Linked != GL_TRUE) {
    char Log[512] = {};
    Gl.glGetProgramInfoLog(Program, sizeof(Log) - 1, nullptr, Log);
    throw EUnsupportedGraphics("Failed to compile the sprite shader (" + FirstLine(Log) + ")");
  }
  Gl.glUseProgram(Program);
  Gl.glUniform1i(Gl.glGetUniformLocation(Program, "Picture"), 0);
  ViewScaleUniform = Gl.glGetUniformLocation(Program, "ViewScale");
}

void TSdlGraphicsDevice::BuildBuffers() {
  Gl.glGetError();
  Gl.glGenVertexArrays(1, &VertexArray);
  Gl.glBindVertexArray(VertexArray);
  Gl.glGenBuffers(1, &VertexBuffer);
  Gl.glBindBuffer(GL_ARRAY_BUFFER, VertexBuffer);
  const auto Stride = static_cast<GLsizei>(sizeof(TVertex));
  Gl.glEnableVertexAttribArray(0);
  Gl.glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, Stride,
                           reinterpret_cast<const void*>(offsetof(TVertex, X)));
  Gl.glEnableVertexAttribArray(1);
  Gl.glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, Stride,
                           reinterpret_cast<const void*>(offsetof(TVertex, U)));
  Gl.glEnableVertexAttribArray(2);
  Gl.glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, Stride,
                           reinterpret_cast<const void*>(offsetof(TVertex, Color)));

  // Each quad's strip of corners 0, 1, 2, 3 as the two triangles (0, 1, 2) and (2, 1, 3). A run
  // starts at its first quad's corners (the draw call's base vertex).
  std::vector<GLushort> Indices(static_cast<std::size_t>(BatchLimit) * 6);
  for (int Quad = 0; Quad < BatchLimit; ++Quad) {
    const auto First = static_cast<GLushort>(Quad * 4);
    const GLushort Corners[6] = {0, 1, 2, 2, 1, 3};
    for (int I = 0; I < 6; ++I)
      Indices[static_cast<std::size_t>(Quad) * 6 + I] = static_cast<GLushort>(First + Corners[I]);
  }
  Gl.glGenBuffers(1, &IndexBuffer);
  Gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, IndexBuffer);
  Gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                  static_cast<GLsizeiptr>(Indices.size() * sizeof(GLushort)), Indices.data(),
                  GL_STATIC_DRAW);
  Gl.glGenFramebuffers(1, &FrameBuffer);
  Gl.glGenRenderbuffers(1, &ColorBuffer);
  if (VertexArray == 0 || VertexBuffer == 0 || IndexBuffer == 0 || Gl.glGetError() != GL_NO_ERROR)
    throw EGraphicsError("Failed to create vertex buffer");
  if (FrameBuffer == 0 || ColorBuffer == 0) throw EGraphicsError("Failed to create frame buffer");
}

bool TSdlGraphicsDevice::ResizeBackBuffer() {
  if (BufferWidth == WantedWidth && BufferHeight == WantedHeight) return true;
  MakeCurrent();
  Gl.glGetError();
  Gl.glBindRenderbuffer(GL_RENDERBUFFER, ColorBuffer);
  Gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, WantedWidth, WantedHeight);
  Gl.glBindFramebuffer(GL_FRAMEBUFFER, FrameBuffer);
  Gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, ColorBuffer);
  const bool Complete = Gl.glGetError() == GL_NO_ERROR &&
                        Gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (!Complete) {
    BufferWidth = BufferHeight = 0;
    return false;
  }
  BufferWidth = WantedWidth;
  BufferHeight = WantedHeight;
  return true;
}

std::unique_ptr<TDeviceTexture> TSdlGraphicsDevice::CreateTexture(int Width, int Height,
                                                                  TTextureFormat Format) {
  return std::make_unique<TGlTexture>(*this, Width, Height, Format);
}

void TSdlGraphicsDevice::SetView(int PixelWidth, int PixelHeight, float ViewWidth,
                                 float ViewHeight) {
  WantedWidth = PixelWidth > 0 ? PixelWidth : 1;
  WantedHeight = PixelHeight > 0 ? PixelHeight : 1;
  if (ViewWidth > 0.0f && ViewHeight > 0.0f) {
    ScaleX = 2.0f / ViewWidth;
    ScaleY = 2.0f / ViewHeight;
  }
  if (!ResizeBackBuffer()) throw EGraphicsError("Failed to create frame buffer");
}

bool TSdlGraphicsDevice::NoRenderFailure() {
  const std::string Failure = Queue->TakeFailure();
  if (Failure.empty()) return true;
  std::cerr << "calvora: " << Failure << "\n";
  return false;
}

// An OpenGL context is not lost the way some devices are; what can fail is drawing a frame on the
// render thread (reported here when EndFrame has not done so yet) and making the back buffer of a
// new size, which is tried again here.
bool TSdlGraphicsDevice::CheckDevice() {
  Queue->WaitIdle();
  if (!NoRenderFailure()) return false;
  return ResizeBackBuffer();
}

void TSdlGraphicsDevice::BeginFrame() {
  Recording->Clear();
}

void TSdlGraphicsDevice::DrawQuad(const TQuad& Quad) {
  const auto* Texture = static_cast<const TGlTexture*>(Quad.Texture);
  if (!Texture) return;
  TRecordedFrame& Frame = *Recording;
  if (Frame.Runs.empty() || Frame.Runs.back().Texture != Texture->Name ||
      Frame.Runs.back().Quads == BatchLimit)
    Frame.Runs.push_back({Texture->Name, Frame.Quads, 0});
  const std::size_t First = static_cast<std::size_t>(Frame.Quads) * 4;
  if (First + 4 > Frame.Vertices.size()) Frame.Vertices.resize(Frame.Vertices.size() * 2);
  const float* W = Quad.World.M;
  const float* T = Quad.TextureMatrix.M;
  const TQuadVertex* Corner = kUnitQuads[Quad.Orientation & 3];
  TVertex* Out = &Frame.Vertices[First];
  for (int I = 0; I < 4; ++I) {
    const TQuadVertex& C = Corner[I];
    Out[I] = {C.X * W[0] + C.Y * W[4] + W[12], C.X * W[1] + C.Y * W[5] + W[13],
              C.U * T[0] + C.V * T[4] + T[8], C.U * T[1] + C.V * T[5] + T[9], Quad.Color};
  }
  ++Frame.Runs.back().Quads;
  ++Frame.Quads;
}

void TSdlGraphicsDevice::ReleaseContextOnGameThread() {
  if (SDL_GL_GetCurrentContext() == Context) SDL_GL_MakeCurrent(Window, nullptr);
}

// Hands the recorded frame over once the render thread is done with the one before. A failure of
// that one loses the device for this frame, which is then dropped.
bool TSdlGraphicsDevice::EndFrame() {
  Queue->WaitIdle();
  if (!NoRenderFailure()) return false;  // BeginFrame starts the next frame afresh
  TRecordedFrame& Frame = *Recording;
  Frame.BufferWidth = BufferWidth;
  Frame.BufferHeight = BufferHeight;
  Frame.ScaleX = ScaleX;
  Frame.ScaleY = ScaleY;
  // The window's size is read here: the game thread is the one that handles its events.
  if (!Headless) SDL_GL_GetDrawableSize(Window, &Frame.DrawableWidth, &Frame.DrawableHeight);
  ReleaseContextOnGameThread();
  Queue->Hand({&Frame, false});
  Recording = Recording == &Frames[0] ? &Frames[1] : &Frames[0];
  return true;
}

void TSdlGraphicsDevice::Finish() {
  Queue->WaitIdle();
  ReleaseContextOnGameThread();
  Queue->Hand({nullptr, true});
  Queue->WaitIdle();
}

// ---- The render thread ----

void TSdlGraphicsDevice::RenderLoop() {
  TRenderJob Job;
  while (Queue->Take(Job)) {
    const TClock::time_point Start = TClock::now();
    std::string Failure;
    try {
      Failure = RunJob(Job);
    } catch (const std::exception& Error) {  // only allocation can throw here
      Failure = std::string("Failed to draw a frame (") + Error.what() + ")";
    }
    const double Seconds = std::chrono::duration<double>(TClock::now() - Start).count();
    Queue->Done(std::move(Failure), Seconds, Job.Frame != nullptr);
  }
}

std::string TSdlGraphicsDevice::RunJob(const TRenderJob& Job) {
  if (SDL_GL_MakeCurrent(Window, Context) != 0)
    return std::string("Failed to make the OpenGL context current for drawing (") + SDL_GetError() +
           ")";
  Gl.glGetError();  // a failure here is this job's, not left over from the game thread's calls
  if (Job.Frame) DrawFrame(*Job.Frame);
  if (Job.Finish) Gl.glFinish();
  const GLenum Error = Gl.glGetError();
  // Given back before the job is reported done, so the game thread may take it at once.
  SDL_GL_MakeCurrent(Window, nullptr);
  if (Error == GL_NO_ERROR) return {};
  char Text[64];
  std::snprintf(Text, sizeof(Text), "OpenGL error 0x%04X while drawing a frame",
                static_cast<unsigned>(Error));
  return Text;
}

void TSdlGraphicsDevice::DrawFrame(const TRecordedFrame& Frame) {
  Gl.glBindFramebuffer(GL_FRAMEBUFFER, FrameBuffer);
  Gl.glViewport(0, 0, Frame.BufferWidth, Frame.BufferHeight);
  Gl.glClear(GL_COLOR_BUFFER_BIT);
  if (Frame.Quads > 0) {
    Gl.glUseProgram(Program);
    Gl.glUniform2f(ViewScaleUniform, Frame.ScaleX, Frame.ScaleY);
    Gl.glBindVertexArray(VertexArray);
    Gl.glBindBuffer(GL_ARRAY_BUFFER, VertexBuffer);
    // A fresh store every frame: the driver need not wait for earlier draws to finish reading.
    Gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(TVertex)) * 4 * Frame.Quads,
                    Frame.Vertices.data(), GL_STREAM_DRAW);
    GLuint Bound = 0;  // the game thread binds textures too: the first run binds afresh
    for (const TRun& Run : Frame.Runs) {
      if (Run.Texture != Bound) {
        Gl.glBindTexture(GL_TEXTURE_2D, Run.Texture);
        Bound = Run.Texture;
      }
      Gl.glDrawElementsBaseVertex(GL_TRIANGLES, Run.Quads * 6, GL_UNSIGNED_SHORT, nullptr,
                                  Run.FirstQuad * 4);
    }
  }
  Present(Frame);
}

void TSdlGraphicsDevice::Present(const TRecordedFrame& Frame) {
  if (Headless) {
    Gl.glFlush();
    return;
  }
  Gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, FrameBuffer);
  Gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  const bool SameSize =
      Frame.DrawableWidth == Frame.BufferWidth && Frame.DrawableHeight == Frame.BufferHeight;
  Gl.glBlitFramebuffer(0, 0, Frame.BufferWidth, Frame.BufferHeight, 0, 0, Frame.DrawableWidth,
                       Frame.DrawableHeight, GL_COLOR_BUFFER_BIT,
                       SameSize ? GL_NEAREST : GL_LINEAR);
  SDL_GL_SwapWindow(Window);
}

// ---- Reading back ----

std::vector<std::uint8_t> TSdlGraphicsDevice::ReadFrame(int& Width, int& Height) {
  MakeCurrent();
  Width = BufferWidth;
  Height = BufferHeight;
  const std::size_t RowBytes = static_cast<std::size_t>(Width) * 4;
  std::vector<std::uint8_t> Frame(RowBytes * static_cast<std::size_t>(Height));
  if (Frame.empty()) return Frame;
  Gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, FrameBuffer);
  Gl.glPixelStorei(GL_PACK_ALIGNMENT, 4);
  Gl.glReadPixels(0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, Frame.data());
  // OpenGL's rows run from the bottom.
  std::vector<std::uint8_t> Row(RowBytes);
  for (int Top = 0, Bottom = Height - 1; Top < Bottom; ++Top, --Bottom) {
    std::uint8_t* A = &Frame[static_cast<std::size_t>(Top) * RowBytes];
    std::uint8_t* B = &Frame[static_cast<std::size_t>(Bottom) * RowBytes];
    std::memcpy(Row.data(), A, RowBytes);
    std::memcpy(A, B, RowBytes);
    std::memcpy(B, Row.data(), RowBytes);
  }
  return Frame;
}

}  // namespace

void PrepareOpenGlWindow() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

std::unique_ptr<TGraphicsDevice> OpenSdlGraphicsDevice(SDL_Window* Window, bool Headless,
                                                       int MaxBatchQuads,
                                                       std::weak_ptr<TFrameQueue>& Frames) {
  auto Device = std::make_unique<TSdlGraphicsDevice>(Window, Headless, MaxBatchQuads);
  Frames = Device->FrameQueue();
  return Device;
}

}  // namespace Platform
