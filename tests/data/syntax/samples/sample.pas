{ sample.pas - prints a table of squares.
  This brace comment spans two lines and holds a 'quote'. }
program Squares;

{$MODE OBJFPC}{$H+}
(*$R+*)

uses
  SysUtils, Classes;

const
  MaxRows = 10;
  Mask = $FF;
  CrLf = #13#10;
  Bell = #$07;
  Title = 'Squares of ''n''';   // doubled quotes inside a string
  Ratio = 2.5E-3;

type
  TRow = record
    N: Integer;
    Square: Int64;
  end;

  TTable = class(TObject)
  private
    FRows: array[1..MaxRows] of TRow;
  public
    constructor Create;
    procedure Print; virtual;
  end;

(* A classic comment
   over two lines. *)
constructor TTable.Create;
var
  I: Integer;
begin
  inherited Create;
  for I := 1 to MaxRows do
  begin
    FRows[I].N := I;
    FRows[I].Square := Int64(I) * I;
  end;
end;

procedure TTable.Print;
var
  I: Integer;
begin
  WriteLn(Title);
  for I := Low(FRows) to High(FRows) do
    if FRows[I].Square and Mask <> 0 then
      Write(Format('%3d %5d', [FRows[I].N, FRows[I].Square]), CrLf)
    else
      WriteLn('overflow');
end;

var
  Table: TTable;
BEGIN
  Table := TTable.Create;
  try
    Table.Print;
    WriteLn(Ratio:0:4, Bell);
  finally
    Table.Free;
  END;
end.
