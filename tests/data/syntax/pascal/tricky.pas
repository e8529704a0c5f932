program P; { brace comment }
(* paren
   comment *) var s: string;
{$IFDEF DEBUG} s := 'it''s'; {$ENDIF}
x := $1F + #13 + 1.5E3; // line comment
begin END.
