#pragma once
// Brackets drawing code that changes the model-view matrix: pushed when made, popped when gone, so
// the code after it sees the matrix it had before.
class MatrixScope
{
  public:
    MatrixScope();
    ~MatrixScope();
    MatrixScope(const MatrixScope&) = delete;
    MatrixScope& operator=(const MatrixScope&) = delete;
};
